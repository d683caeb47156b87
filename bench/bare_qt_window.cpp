// The yardstick of the start-up benchmark: a bare Qt Widgets window of about the program's
// shape (a main window with a menu bar of six menus, eight tabs of one label each and a status
// bar, 800 x 600), built by the same compiler against the same Qt. It prints the moment its
// first paint has been handled, as `zendrax --quit-when-shown` does, and exits.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

class FirstPaintExit : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("shown-at-ns %lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char* title : {"File", "Settings", "View", "Codes", "Numbers", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    auto* tabs = new QTabWidget;
    for (int i = 1; i <= 8; ++i)
        tabs->addTab(new QLabel(QStringLiteral("Label %1").arg(i)),
                     QStringLiteral("Tab %1").arg(i));
    window.setCentralWidget(tabs);
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(800, 600);
    FirstPaintExit watch;
    window.installEventFilter(&watch);
    window.show();
    return app.exec();
}
