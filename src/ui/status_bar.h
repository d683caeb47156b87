#pragma once
// The file panel of the status bar: a path that does not fit loses its leading directory names
// to "..." when drawn; the full text stays available.
#include <QFrame>

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

} // namespace zx
