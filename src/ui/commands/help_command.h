#pragma once
// "&Tartalom" of the help menu: the help file "ZENDRAX.HLP" (HTML text shipped with the program)
// opened at its contents in a small viewer, which closes with the main window. F1 opens it at
// the section of the page shown.
#include "ui/dialogs/help_viewer.h"

#include <QObject>
#include <QPointer>
#include <QString>

class MainWindow;

namespace zx {

class HelpCommand : public QObject {
    Q_OBJECT
  public:
    // The help file, looked for in `directory` (beside the program unless told otherwise).
    static constexpr const char* HelpFileName = "ZENDRAX.HLP";

    explicit HelpCommand(MainWindow& form, QObject* parent = nullptr);

    void setHelpDirectory(const QString& directory) { directory_ = directory; }
    QString helpFilePath() const;
    // Opens the help file at its contents; a missing file is reported, nothing else changes.
    void showContents();
    // Opens the help file at the section of the page shown (F1).
    void showPageHelp();
    // The help file's anchor of the section about a page of the window.
    static QString pageAnchor(int view);
    HelpViewer* viewer() const { return viewer_; }

  private:
    void show(const QString& anchor);

    MainWindow& form_;
    QString directory_;
    QPointer<HelpViewer> viewer_;
};

} // namespace zx
