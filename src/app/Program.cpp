#include "app/Program.h"

#include "app/Main.h"
#include "app/NewPass.h"
#include "app/Progress.h"
#include "app/common/ProgramTexts.h"
#include "platform/gui/Application.h"

#include <QApplication>
#include <QIcon>

namespace quarn {

int RunQuarn(const std::vector<std::string>& args) {
    SetApplicationTitle(ProgramCaption);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quarn/quarn.png")));
    // The program ends with the main window, also while a help window is open.
    QApplication::setQuitOnLastWindowClosed(false);
    TfMain main(args.empty() ? std::vector<std::string>()
                             : std::vector<std::string>(args.begin() + 1, args.end()));
    TfNewPass newPass(&main);
    TfProgress progress(&main);
    QObject::connect(&main, &TfMain::Closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    main.show();
    return QApplication::exec();
}

} // namespace quarn
