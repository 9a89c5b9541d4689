#include "privatesessionbus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>

namespace {

constexpr int kStartTimeoutMs = 10000;

} // namespace

PrivateSessionBus::PrivateSessionBus()
    : name_(QStringLiteral("private-session-bus-%1").arg(reinterpret_cast<quintptr>(this)))
    , connection_(name_) {
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    if (!daemon_.waitForReadyRead(kStartTimeoutMs))
        return;
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    connection_ = QDBusConnection::connectToBus(address_, name_);
}

PrivateSessionBus::~PrivateSessionBus() {
    QDBusConnection::disconnectFromBus(name_);
    daemon_.kill();
    daemon_.waitForFinished();
}

StatusNotifierWatcher::StatusNotifierWatcher(const PrivateSessionBus& bus)
    : bus_(bus.connection()) {
    valid_ = bus_.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                 QDBusConnection::ExportAllContents) &&
             bus_.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
}

QString StatusNotifierWatcher::toolTip() const {
    QDBusMessage get = QDBusMessage::createMethodCall(
        item_, QStringLiteral("/StatusNotifierItem"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("ToolTip");
    const QDBusMessage reply = bus_.call(get);
    if (reply.arguments().isEmpty())
        return QString();
    // (icon name, icon pixmaps, title, description)
    const QDBusArgument tip =
        reply.arguments().constFirst().value<QDBusVariant>().variant().value<QDBusArgument>();
    QString iconName;
    QString title;
    tip.beginStructure();
    tip >> iconName;
    tip.beginArray();
    while (!tip.atEnd()) {
        int width = 0;
        int height = 0;
        QByteArray pixels;
        tip.beginStructure();
        tip >> width >> height >> pixels;
        tip.endStructure();
    }
    tip.endArray();
    tip >> title;
    return title;
}

QMap<int, QString> StatusNotifierWatcher::menuLabels() const {
    QList<int> ids;
    for (int id = 0; id < 100; ++id)
        ids << id;
    QDBusMessage call = QDBusMessage::createMethodCall(item_, QStringLiteral("/MenuBar"),
                                                       QStringLiteral("com.canonical.dbusmenu"),
                                                       QStringLiteral("GetGroupProperties"));
    call << QVariant::fromValue(ids) << QStringList{QStringLiteral("label")};
    const QDBusMessage reply = bus_.call(call);
    QMap<int, QString> labels;
    if (reply.arguments().isEmpty())
        return labels;
    const QDBusArgument items = reply.arguments().constFirst().value<QDBusArgument>();
    items.beginArray();
    while (!items.atEnd()) {
        int id = 0;
        QVariantMap properties;
        items.beginStructure();
        items >> id >> properties;
        items.endStructure();
        if (properties.contains(QStringLiteral("label")))
            labels.insert(id, properties.value(QStringLiteral("label")).toString());
    }
    items.endArray();
    return labels;
}

bool StatusNotifierWatcher::clickMenuEntry(int id) const {
    QDBusMessage call = QDBusMessage::createMethodCall(item_, QStringLiteral("/MenuBar"),
                                                       QStringLiteral("com.canonical.dbusmenu"),
                                                       QStringLiteral("Event"));
    call << id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
    return bus_.call(call).type() == QDBusMessage::ReplyMessage;
}
