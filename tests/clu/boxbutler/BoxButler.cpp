// A generic Qt plugin for the program tests: loaded into the real QuarnCLU through
// QT_QPA_GENERIC_PLUGINS, it answers every message box the program shows and appends the
// box's text to the file named by QUARN_BOX_LOG. QUARN_BOX_ANSWER ("Yes" or "No") chooses
// the button of Yes/No boxes; OK boxes are accepted.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QTimer>

namespace {

class BoxButler : public QObject {
public:
    BoxButler() {
        connect(&timer_, &QTimer::timeout, this, [this] { AnswerBox(); });
        timer_.start(50);
    }

private:
    void AnswerBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        QFile log(qEnvironmentVariable("QUARN_BOX_LOG"));
        if (log.open(QIODevice::Append)) {
            log.write(box->text().toUtf8() + "\n--\n");
        }
        const bool yes = qEnvironmentVariable("QUARN_BOX_ANSWER") == QLatin1String("Yes");
        QAbstractButton* button = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
        if (button == nullptr) {
            button = box->button(QMessageBox::Ok);
        }
        if (button != nullptr) {
            button->click();
        }
    }

    QTimer timer_;
};

} // namespace

class BoxButlerPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "BoxButler.json")

public:
    QObject* create(const QString& key, const QString&) override {
        return key.compare(QLatin1String("quarnboxbutler"), Qt::CaseInsensitive) == 0
                   ? new BoxButler
                   : nullptr;
    }
};

#include "BoxButler.moc"
