#include "ui/commands/help_command.h"

#include "ui/dialogs/dialog_placement.h"
#include "ui/dialogs/help_viewer.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>

#include <iterator>

namespace zx {

HelpCommand::HelpCommand(MainWindow& form, QObject* parent)
    : QObject(parent), form_(form), directory_(QCoreApplication::applicationDirPath()) {
    connect(form_.menu().helpContents, &QAction::triggered, this, &HelpCommand::showContents);
    auto* pageHelp = new QAction(&form_);
    pageHelp->setObjectName(QStringLiteral("PageHelp"));
    pageHelp->setShortcut(QKeySequence(Qt::Key_F1));
    pageHelp->setShortcutContext(Qt::WindowShortcut);
    form_.addAction(pageHelp);
    connect(pageHelp, &QAction::triggered, this, &HelpCommand::showPageHelp);
    // The viewer is a window of its own: it goes with the main window, or the program would
    // live on behind it.
    connect(&form_, &MainWindow::closing, this, [this] {
        if (viewer_) viewer_->close();
    });
}

QString HelpCommand::helpFilePath() const {
    return directory_ + QLatin1Char('/') + QLatin1String(HelpFileName);
}

QString HelpCommand::pageAnchor(int view) {
    // In the order of the window's pages.
    static const char* const anchors[] = {"alap",  "vonalak", "idozitok", "szamhosszak",
                                          "kodok", "szamok",  "behivas",  "terminal"};
    static_assert(std::size(anchors) == MainWindow::ViewCount);
    return view >= 0 && view < MainWindow::ViewCount
               ? QString::fromLatin1(anchors[view])
               : QString::fromLatin1(HelpViewer::ContentsAnchor);
}

void HelpCommand::showContents() {
    show(QString::fromLatin1(HelpViewer::ContentsAnchor));
}

void HelpCommand::showPageHelp() {
    show(pageAnchor(form_.currentView()));
}

void HelpCommand::show(const QString& anchor) {
    const QString path = helpFilePath();
    if (!QFileInfo(path).isFile()) {
        form_.interaction().error(&form_,
                                  QString::fromUtf8("A súgófájl nem található: %1").arg(path));
        return;
    }
    // Opened over the main window, wholly on the screen however low the main window stands; shown
    // again where the operator left it, brought back onto the screen if need be.
    if (!viewer_) {
        viewer_ = new HelpViewer(&form_);
        placeOnScreen(*viewer_, form_.frameGeometry().center());
    } else if (!viewer_->isVisible()) {
        placeOnScreen(*viewer_, viewer_->geometry().center());
    }
    viewer_->openAt(path, anchor);
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
}

} // namespace zx
