#include "ui/dialogs/help_viewer.h"

#include <QTextBrowser>
#include <QVBoxLayout>

namespace zx {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QString::fromUtf8("Zendrax súgó"));
    // The program ends with its main window even while help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(560, 480);
}

void HelpViewer::openContents(const QString& path) {
    openAt(path, QString::fromLatin1(ContentsAnchor));
}

void HelpViewer::openAt(const QString& path, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(anchor);
    // The file's name says nothing of its kind: it is HTML.
    browser_->setSource(url, QTextDocument::HtmlResource);
}

QUrl HelpViewer::source() const {
    return browser_->source();
}

} // namespace zx
