#include "AtSpiTree.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>

namespace quarn::test {

namespace {

constexpr int ClientTimeoutMs = 120000;

AtSpiObject ParseObject(const QJsonObject& json) {
    AtSpiObject object;
    object.path = json.value("path").toString().toStdString();
    object.parent = json.value("parent").toString().toStdString();
    object.role = json.value("role").toString().toStdString();
    object.name = json.value("name").toString().toStdString();
    for (const QJsonValue state : json.value("states").toArray()) {
        object.states.insert(state.toString().toStdString());
    }
    return object;
}

} // namespace

std::vector<AtSpiObject> ReadOwnAccessibleTree() {
    QProcess client;
    // The client's questions are answered by this loop, at once (a wait that polls would
    // answer each of them late).
    QEventLoop loop;
    QObject::connect(&client, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(ClientTimeoutMs, &loop, &QEventLoop::quit);
    client.start(QStringLiteral(QUARN_ATSPI_TREE),
                 {QString::number(QCoreApplication::applicationPid())});
    loop.exec();
    const bool ended = client.state() == QProcess::NotRunning;
    if (!ended) {
        client.kill();
        client.waitForFinished();
    }
    const QByteArray errors = client.readAllStandardError();
    if (!ended || client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0) {
        ADD_FAILURE() << "atspi-tree failed (" << client.errorString().toStdString()
                      << "): " << errors.toStdString();
        return {};
    }
    std::vector<AtSpiObject> tree;
    for (const QByteArray& line : client.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty()) {
            tree.push_back(ParseObject(QJsonDocument::fromJson(line).object()));
        }
    }
    return tree;
}

QAccessibleInterface* InterfaceOf(const AtSpiObject& object) {
    const QString path = QString::fromStdString(object.path);
    bool isNumber = false;
    const QAccessible::Id id = path.section('/', -1).toUInt(&isNumber);
    return isNumber ? QAccessible::accessibleInterface(id) : nullptr;
}

} // namespace quarn::test
