#include "StartUp.h"

#include "AppContext.h"
#include "DataDirectory.h"
#include "EngineConfig.h"
#include "MainWindow.h"
#include "QtDialogs.h"
#include "SplashWindow.h"
#include "TarvaneApplication.h"
#include "UserActions.h"

#include <QTimer>

void createApplicationWindows(AppContext& ctx, SplashWindow& splash)
{
    splash.setStatus(QString());
    splash.show();
    splash.repaint();
    splash.setStatus(QStringLiteral("TARVANE.HLP"));
    ctx.helpFile = QStringLiteral("TARVANE.HLP");
    splash.advance(10);
    QCoreApplication::setApplicationName(QStringLiteral("Tarvane"));
    splash.setStatus(QStringLiteral("Application Title"));
    splash.advance(15);
    ctx.create([&](const QString& s) { splash.setStatus(s); }, [&](int n) { splash.advance(n); });
}

int runTarvane(int argc, char** argv)
{
    TarvaneApplication app(argc, argv);
    QtDialogs dialogs;
    app.setDialogs(&dialogs);
    // Messages of computations that run on every read show once per user action.
    UserActionWatcher userActions(dialogs);
    app.installEventFilter(&userActions);

    const QString configPath = EngineConfig::defaultPath();
    try {
        ensureEngineConfigured(configPath);  // the first start writes the configuration and the user's data
    } catch (const std::exception& e) {
        dialogs.showException(e);
    }

    AppContext ctx(dialogs, configPath);
    {
        SplashWindow splash;  // freed when the windows exist, also when a step failed
        try {
            createApplicationWindows(ctx, splash);
        } catch (const std::exception& e) {
            dialogs.showException(e);
            return 1;
        }
    }
    dialogs.setParent(ctx.MainForm.get());
    ctx.MainForm->show();
    ctx.MainForm->activateWindow();
    // Without a window manager the window may never be activated; the activation work runs once either way.
    QTimer::singleShot(0, ctx.MainForm.get(), [&ctx] { ctx.MainForm->FormActivate(); });
    return app.exec();
}
