// The desktop program: its options, the session of window, device link and commands, then the
// event loop.
#include "files/data_folder.h"
#include "files/hungarian_locale.h"
#include "files/program_version.h"
#include "files/toolkit_translations.h"
#include "ui/commands/help_command.h"
#include "ui/desktop_session.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <QIcon>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Calls back once, after the watched window's first paint event has been handled.
class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QObject* parent, std::function<void()> then)
        : QObject(parent), then_(std::move(then)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            QTimer::singleShot(0, this, std::move(then_));
            then_ = nullptr;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> then_;
};

// The program's icon in the sizes the desktop asks for. The icon theme holds the same pictures
// (the package installs them there for the desktop entry), so the program takes its own without
// a theme lookup.
QIcon programIcon() {
    QIcon icon;
    for (const int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/zendrax-%1.png").arg(size), QSize(size, size));
    return icon;
}

// The program's options, described for --help in Hungarian.
struct ProgramOptions {
    QCommandLineOption demo{QStringLiteral("demo"),
                            QString::fromUtf8("Bemutató mód, egység nélkül.")};
    QCommandLineOption screenshot{
        QStringLiteral("screenshot"),
        QString::fromUtf8("A megjelent ablak képét a fájlba menti, majd kilép."),
        QString::fromUtf8("képfájl")};
    QCommandLineOption quitWhenShown{
        QStringLiteral("quit-when-shown"),
        QString::fromUtf8("Kilép, amint az ablak megjelent; kiírja az időpontot (mérésekhez).")};
    QCommandLineOption view{QStringLiteral("view"),
                            QString::fromUtf8("Az induláskor mutatott nézet (0..7)."),
                            QString::fromUtf8("szám")};
    QCommandLineOption model{QStringLiteral("model"),
                             QString::fromUtf8("Az induláskor választott típus: 4 vagy 16."),
                             QString::fromUtf8("vonalszám")};
    QCommandLineOption configDir{
        QStringLiteral("config-dir"),
        QString::fromUtf8("A beállítási fájlok (zendrax.ini, zxconn.ini) mappája."),
        QString::fromUtf8("mappa")};

    void addTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(QStringLiteral("Zendrax"));
        parser.addHelpOption();
        parser.addVersionOption();
        for (const QCommandLineOption* option :
             {&demo, &configDir, &view, &model, &screenshot, &quitWhenShown})
            parser.addOption(*option);
        parser.addPositionalArgument(
            QString::fromUtf8("fájl"),
            QString::fromUtf8("Az induláskor megnyitott adatbázis (.vd1, .vdb); a jelszót a "
                              "program kéri."),
            QString::fromUtf8("[fájl]"));
    }
};

// --version: "Zendrax 0.1 (Qt 6.4.2)", the Qt loaded at run time.
void setVersion() {
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1 (Qt %2)").arg(zx::programVersion(), QString::fromLatin1(qVersion())));
}

// --help and --version print and end before any window: they need no display.
bool asksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h" || arg == "-?" || arg == "--help-all" ||
            arg == "--version" || arg == "-v")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // The window icons live in the user interface library's resources.
    Q_INIT_RESOURCE(resources);
    // Dates in Hungarian form, like the texts, whatever the session's locale: before the
    // application object reads the environment.
    zx::useHungarianLocale();
    const ProgramOptions program;
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Zendrax"));
        zx::installToolkitTranslations(text);
        setVersion();
        QCommandLineParser parser;
        program.addTo(parser);
        parser.process(text); // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zendrax"));
    // The desktop entry zendrax.desktop: its icon and name for the window on every desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("zendrax"));

    // The toolkit's own texts (its dialogs, the --help lines) in Hungarian too.
    zx::installToolkitTranslations(app);

    QCommandLineParser parser;
    setVersion();
    program.addTo(parser);
    parser.process(app);
    const QCommandLineOption& demo = program.demo;
    const QCommandLineOption& configDir = program.configDir;
    const QCommandLineOption& view = program.view;
    const QCommandLineOption& model = program.model;
    const QCommandLineOption& screenshot = program.screenshot;
    const QCommandLineOption& quitWhenShown = program.quitWhenShown;

    zx::DesktopOptions options;
    options.demo = parser.isSet(demo);
    options.configDir = parser.value(configDir);
    options.helpDirectory = zx::dataFileFolder(QCoreApplication::applicationDirPath(),
                                               QString::fromLatin1(zx::HelpCommand::HelpFileName));
    if (parser.value(model) == QLatin1String("16")) options.model = zx::DeviceModel::Line16;
    if (parser.isSet(view)) options.view = parser.value(view).toInt();
    if (!parser.positionalArguments().isEmpty())
        options.file = parser.positionalArguments().constFirst();

    // A file opened at start asks its password before the window is shown: that question
    // carries the icon too.
    const bool iconAtOnce = !options.file.isEmpty();
    if (iconAtOnce) QApplication::setWindowIcon(programIcon());

    zx::DesktopInteraction interaction;
    zx::DesktopSession session(interaction);
    QString error;
    if (!session.start(options, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    MainWindow& window = session.window();
    // Otherwise the icon of the title bar and the task list is given right after the first
    // paint: making it reads and decodes its pictures, milliseconds the first look at the window
    // need not wait for.
    if (!iconAtOnce)
        window.installEventFilter(
            new FirstPaintWatch(&window, [] { QApplication::setWindowIcon(programIcon()); }));
    window.show();

    int status = 0;
    if (parser.isSet(screenshot) || parser.isSet(quitWhenShown)) {
        // The window counts as shown once its first paint has been handled.
        auto* firstPaint = new FirstPaintWatch(&window, [&] {
            if (parser.isSet(quitWhenShown)) {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("shown-at-ns %lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
            }
            if (parser.isSet(screenshot) && !window.grab().save(parser.value(screenshot))) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(parser.value(screenshot)));
                status = 1;
            }
            QApplication::exit(status);
        });
        window.installEventFilter(firstPaint);
    }
    return app.exec();
}
