#pragma once
// The status bar's four panels: 0 the database file, 1 the code table size, 2 the connection,
// 3 the connection state and progress. The file panel draws a long path with its leading
// directory names replaced by "..."; the full text stays available.
#include <QFrame>

#include <array>

class QLabel;
class QStatusBar;

namespace zx {

class PathPanel : public QFrame {
    Q_OBJECT
  public:
    explicit PathPanel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }
    // What the panel draws at its present width and font.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};

class StatusPanels {
  public:
    enum Panel { File = 0, Codes = 1, Connection = 2, State = 3 };
    static constexpr int Count = 4;

    explicit StatusPanels(QStatusBar* bar);

    void setText(int panel, const QString& text);
    QString text(int panel) const;
    int width(int panel) const;
    // Widens a panel so that each of these texts shows whole.
    void fitTexts(int panel, const QStringList& texts);
    QWidget* panel(int panel) const;

  private:
    PathPanel* file_;
    std::array<QLabel*, Count> labels_{};
};

} // namespace zx
