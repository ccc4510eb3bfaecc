// SPDX-License-Identifier: MIT
#include "qt/status_notifier_item.h"

#include <unistd.h>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QFile>
#include <QTimer>

namespace tikora {
namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");

// The protocol's picture: width, height and 0xAARRGGBB pixels in network byte order.
struct DBusPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;
};

// The tooltip: an icon name, its pictures, a title and a longer text.
struct DBusToolTip {
    QString icon;
    QList<DBusPixmap> pictures;
    QString title;
    QString text;
};

}  // namespace
}  // namespace tikora

Q_DECLARE_METATYPE(tikora::DBusPixmap)
Q_DECLARE_METATYPE(tikora::DBusToolTip)

namespace tikora {
namespace {

QDBusArgument& operator<<(QDBusArgument& out, const DBusPixmap& pixmap) {
    out.beginStructure();
    out << pixmap.width << pixmap.height << pixmap.bytes;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, DBusPixmap& pixmap) {
    in.beginStructure();
    in >> pixmap.width >> pixmap.height >> pixmap.bytes;
    in.endStructure();
    return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const DBusToolTip& tip) {
    out.beginStructure();
    out << tip.icon << tip.pictures << tip.title << tip.text;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, DBusToolTip& tip) {
    in.beginStructure();
    in >> tip.icon >> tip.pictures >> tip.title >> tip.text;
    in.endStructure();
    return in;
}

DBusPixmap ToDBus(const ItemPixmap& pixmap) {
    DBusPixmap out{pixmap.width, pixmap.height, {}};
    out.bytes.reserve(static_cast<qsizetype>(pixmap.pixels.size() * 4));
    for (const std::uint32_t pixel : pixmap.pixels) {
        for (const int shift : {24, 16, 8, 0}) {
            out.bytes.append(static_cast<char>((pixel >> shift) & 0xFF));
        }
    }
    return out;
}

QString ItemName() {
    return QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(getpid());
}

QDBusConnection Bus() {
    return QDBusConnection::sessionBus();
}

// The watcher's owner, named by its program where the system says which process it is.
QString OwnerProgram(const QString& owner) {
    QDBusConnectionInterface* bus = Bus().interface();
    const QDBusReply<uint> pid = bus != nullptr ? bus->servicePid(owner) : QDBusReply<uint>();
    if (!pid.isValid()) {
        return {};
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid.value()));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed() : QString();
}

QString WatcherOwner() {
    QDBusConnectionInterface* bus = Bus().interface();
    const QDBusReply<QString> owner =
        bus != nullptr ? bus->serviceOwner(kWatcher) : QDBusReply<QString>();
    return owner.isValid() ? owner.value() : QString();
}

Point PointOf(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2) {
        return {};
    }
    return {arguments[0].toInt(), arguments[1].toInt()};
}

}  // namespace

StatusNotifierItem::StatusNotifierItem() {
    qDBusRegisterMetaType<DBusPixmap>();
    qDBusRegisterMetaType<QList<DBusPixmap>>();
    qDBusRegisterMetaType<DBusToolTip>();
}

StatusNotifierItem::~StatusNotifierItem() {
    Hide();
}

std::string StatusNotifierItem::Host() const {
    const QString owner = WatcherOwner();
    if (owner.isEmpty()) {
        return {};
    }
    const QString program = OwnerProgram(owner);
    return (program.isEmpty() ? kWatcher : kWatcher + QStringLiteral(" (%1)").arg(program))
        .toStdString();
}

bool StatusNotifierItem::Show(const std::vector<ItemPixmap>& pictures, ItemHandlers handlers) {
    pictures_ = pictures;
    handlers_ = std::move(handlers);
    const QString owner = WatcherOwner();
    if (owner.isEmpty()) {
        return false;
    }
    QDBusConnection bus = Bus();
    if (!exported_) {
        exported_ = bus.registerVirtualObject(kItemPath, this) && bus.registerService(ItemName());
    }
    if (!exported_) {
        return false;
    }
    if (owner == registeredWith_) {
        Signal("NewIcon");
        Signal("NewToolTip");
        return true;
    }
    registeredWith_ = owner;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << ItemName();
    return bus.send(call);
}

void StatusNotifierItem::Hide() {
    if (exported_) {
        QDBusConnection bus = Bus();
        bus.unregisterService(ItemName());
        bus.unregisterObject(kItemPath);
    }
    exported_ = false;
    registeredWith_.clear();
}

void StatusNotifierItem::WatchForHost(std::function<void()> onChange) {
    onHostChange_ = std::move(onChange);
    if (!onHostChange_) {
        watcher_.reset();
        return;
    }
    if (!watcher_) {
        watcher_ = std::make_unique<QDBusServiceWatcher>(kWatcher, Bus(),
                                                         QDBusServiceWatcher::WatchForOwnerChange);
        QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, watcher_.get(),
                         [this] {
                             if (onHostChange_) {
                                 onHostChange_();
                             }
                         });
    }
}

void StatusNotifierItem::Signal(const char* name) const {
    Bus().send(QDBusMessage::createSignal(kItemPath, kItemInterface, QString::fromLatin1(name)));
}

QVariant StatusNotifierItem::Property(const QString& name) const {
    if (name == QLatin1String("Category")) {
        return QStringLiteral("ApplicationStatus");
    }
    if (name == QLatin1String("Id")) {
        return QStringLiteral("tikora");
    }
    if (name == QLatin1String("Title")) {
        return QStringLiteral("Tikora");
    }
    if (name == QLatin1String("Status")) {
        return QStringLiteral("Active");
    }
    if (name == QLatin1String("WindowId")) {
        return 0;
    }
    // Without a menu of the host's a click activates, and the menu comes through ContextMenu.
    if (name == QLatin1String("ItemIsMenu")) {
        return !handlers_.menu.empty();
    }
    if (name == QLatin1String("Menu")) {
        return QVariant::fromValue(QDBusObjectPath(
            handlers_.menu.empty() ? QStringLiteral("/") : QString::fromStdString(handlers_.menu)));
    }
    if (name == QLatin1String("IconName")) {
        return QString();
    }
    if (name == QLatin1String("IconPixmap")) {
        QList<DBusPixmap> pixmaps;
        for (const ItemPixmap& picture : pictures_) {
            pixmaps.append(ToDBus(picture));
        }
        return QVariant::fromValue(pixmaps);
    }
    if (name == QLatin1String("ToolTip")) {
        const std::string text = handlers_.toolTip ? handlers_.toolTip() : std::string();
        return QVariant::fromValue(DBusToolTip{{}, {}, QString::fromStdString(text), {}});
    }
    return {};
}

QString StatusNotifierItem::introspect(const QString&) const {
    return QStringLiteral(
        "<interface name=\"org.kde.StatusNotifierItem\">"
        "<property name=\"Category\" type=\"s\" access=\"read\"/>"
        "<property name=\"Id\" type=\"s\" access=\"read\"/>"
        "<property name=\"Title\" type=\"s\" access=\"read\"/>"
        "<property name=\"Status\" type=\"s\" access=\"read\"/>"
        "<property name=\"WindowId\" type=\"i\" access=\"read\"/>"
        "<property name=\"ItemIsMenu\" type=\"b\" access=\"read\"/>"
        "<property name=\"Menu\" type=\"o\" access=\"read\"/>"
        "<property name=\"IconName\" type=\"s\" access=\"read\"/>"
        "<property name=\"IconPixmap\" type=\"a(iiay)\" access=\"read\"/>"
        "<property name=\"ToolTip\" type=\"(sa(iiay)ss)\" access=\"read\"/>"
        "<method name=\"Activate\"><arg name=\"x\" type=\"i\" direction=\"in\"/>"
        "<arg name=\"y\" type=\"i\" direction=\"in\"/></method>"
        "<method name=\"SecondaryActivate\"><arg name=\"x\" type=\"i\" direction=\"in\"/>"
        "<arg name=\"y\" type=\"i\" direction=\"in\"/></method>"
        "<method name=\"ContextMenu\"><arg name=\"x\" type=\"i\" direction=\"in\"/>"
        "<arg name=\"y\" type=\"i\" direction=\"in\"/></method>"
        "<method name=\"Scroll\"><arg name=\"delta\" type=\"i\" direction=\"in\"/>"
        "<arg name=\"orientation\" type=\"s\" direction=\"in\"/></method>"
        "<signal name=\"NewIcon\"/><signal name=\"NewToolTip\"/><signal name=\"NewTitle\"/>"
        "<signal name=\"NewStatus\"><arg name=\"status\" type=\"s\"/></signal>"
        "</interface>");
}

bool StatusNotifierItem::handleMessage(const QDBusMessage& message,
                                       const QDBusConnection& connection) {
    const QString member = message.member();
    const QVariantList arguments = message.arguments();
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
        if (member == QLatin1String("Get") && arguments.size() == 2) {
            const QVariant value = Property(arguments[1].toString());
            connection.send(value.isValid()
                                ? message.createReply(QVariant::fromValue(QDBusVariant(value)))
                                : message.createErrorReply(QDBusError::UnknownProperty,
                                                           arguments[1].toString()));
            return true;
        }
        if (member == QLatin1String("GetAll")) {
            QVariantMap all;
            for (const char* name : {"Category", "Id", "Title", "Status", "WindowId", "ItemIsMenu",
                                     "Menu", "IconName", "IconPixmap", "ToolTip"}) {
                all.insert(QString::fromLatin1(name), Property(QString::fromLatin1(name)));
            }
            connection.send(message.createReply(QVariant::fromValue(all)));
            return true;
        }
        return false;
    }
    // A click opens the menu, like a click on the clock window; the wheel and the middle button
    // do nothing.
    const bool click = member == QLatin1String("Activate");
    const bool menu = member == QLatin1String("ContextMenu");
    if (!click && !menu && member != QLatin1String("Scroll") &&
        member != QLatin1String("SecondaryActivate")) {
        return false;
    }
    connection.send(message.createReply());
    const std::function<void(Point)> handler = click  ? handlers_.activate
                                               : menu ? handlers_.contextMenu
                                                      : std::function<void(Point)>();
    if (handler) {
        // Once the answer is out: the menu opens from the event loop, not inside the bus call.
        QTimer::singleShot(0, [handler, at = PointOf(message)] { handler(at); });
    }
    return true;
}

}  // namespace tikora
