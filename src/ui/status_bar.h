#pragma once
// The status bar's four panels: 0 the database file, 1 the code table size, 2 the connection,
// 3 the connection state and progress, or how the last command ended. The file panel draws a
// long path with its leading directory names replaced by "..."; the connection panel grows into
// the bar's free room and then gives up a long port path's directories to "..." before the
// device's own name, the whole text in its tip; the other panels widen to show every text whole.
#include <QFrame>
#include <QLabel>

#include <array>

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

// A label that draws a path too long for it with its directories given way to "..." (and, when
// even that is too long, "..." in its middle); text() stays whole.
class MiddleElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit MiddleElidedLabel(QWidget* parent = nullptr) : QLabel(parent) {}
    // What the label draws at its present width and font.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect textRect() const;
};

class StatusPanels {
  public:
    enum Panel { File = 0, Codes = 1, Connection = 2, State = 3 };
    static constexpr int Count = 4;

    explicit StatusPanels(QStatusBar* bar);

    void setText(int panel, const QString& text);
    int width(int panel) const;
    // Widens a panel so that each of these texts shows whole.
    void fitTexts(int panel, const QStringList& texts);
    QWidget* panel(int panel) const;

  private:
    PathPanel* file_;
    std::array<QLabel*, Count> labels_{};
};

// Panel 3, the line's state: its one writer, and the only place its states are spelled. A
// transfer's steps and ends show as the transfer words them.
class LineStatePanel {
  public:
    enum State { Disconnected, Connecting, Connected };
    explicit LineStatePanel(StatusPanels& panels);

    void show(State state);
    void show(const QString& transferStatus);
    // How a command that ended went ("Mentve: a.vd1", "Mentés sikertelen."): the last line
    // always tells the present, not an operation that ended earlier.
    void showOutcome(const QString& text) { show(text); }
    // "WHAT: FILE" with the file's name only, or "FAILED" when the command failed.
    void showOutcome(bool ok, const QString& done, const QString& failed, const QString& path);
    static QString textOf(State state);
    // Widens the panel so that every state and each of these texts shows whole.
    void fitTexts(const QStringList& transferTexts);

  private:
    StatusPanels& panels_;
};

} // namespace zx
