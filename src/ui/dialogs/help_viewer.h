#pragma once
// A small window that shows the HTML help file, opened at its contents or at one section.
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace zx {

class HelpViewer : public QWidget {
    Q_OBJECT
  public:
    // The anchor of the contents at the top of the help file.
    static constexpr const char* ContentsAnchor = "contents";

    explicit HelpViewer(QWidget* parent = nullptr);

    void openContents(const QString& path);
    // The file at the section of anchor (its <a name>).
    void openAt(const QString& path, const QString& anchor);
    QUrl source() const;
    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

} // namespace zx
