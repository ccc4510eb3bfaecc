// SPDX-License-Identifier: MIT
#include "qt/dbus_menu.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QPointer>
#include <QTimer>

namespace tikora {
namespace {

const QString kMenuPath = QStringLiteral("/MenuBar");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

// One entry of the menu with its entries below it: (ia{sv}av), each child a variant of the same.
struct MenuLayout {
    int id = 0;
    QVariantMap properties;
    QList<MenuLayout> children;
};

// One entry's properties, as GetGroupProperties answers: (ia{sv}).
struct MenuProperties {
    int id = 0;
    QVariantMap properties;
};

// One event of EventGroup: (isvu).
struct MenuEvent {
    int id = 0;
    QString name;
    QDBusVariant data;
    uint timestamp = 0;
};

}  // namespace
}  // namespace tikora

Q_DECLARE_METATYPE(tikora::MenuLayout)
Q_DECLARE_METATYPE(tikora::MenuProperties)
Q_DECLARE_METATYPE(tikora::MenuEvent)

namespace tikora {
namespace {

QDBusArgument& operator<<(QDBusArgument& out, const MenuLayout& layout) {
    out.beginStructure();
    out << layout.id << layout.properties;
    out.beginArray(qMetaTypeId<QDBusVariant>());
    for (const MenuLayout& child : layout.children) {
        out << QDBusVariant(QVariant::fromValue(child));
    }
    out.endArray();
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, MenuLayout& layout) {
    in.beginStructure();
    in >> layout.id >> layout.properties;
    in.beginArray();
    while (!in.atEnd()) {
        QDBusVariant child;
        in >> child;
        layout.children.append(qdbus_cast<MenuLayout>(child.variant()));
    }
    in.endArray();
    in.endStructure();
    return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const MenuProperties& entry) {
    out.beginStructure();
    out << entry.id << entry.properties;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, MenuProperties& entry) {
    in.beginStructure();
    in >> entry.id >> entry.properties;
    in.endStructure();
    return in;
}
QDBusArgument& operator<<(QDBusArgument& out, const MenuEvent& event) {
    out.beginStructure();
    out << event.id << event.name << event.data << event.timestamp;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, MenuEvent& event) {
    in.beginStructure();
    in >> event.id >> event.name >> event.data >> event.timestamp;
    in.endStructure();
    return in;
}

// Qt marks the access key with "&" (a literal one doubled), dbusmenu with "_".
QString Label(const QString& text) {
    QString label;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
            label += text[i] == QLatin1Char('&') ? QStringLiteral("&") : QStringLiteral("_");
            if (text[i] != QLatin1Char('&')) {
                label += text[i] == QLatin1Char('_') ? QStringLiteral("__") : QString(text[i]);
            }
        } else {
            label += text[i] == QLatin1Char('_') ? QStringLiteral("__") : QString(text[i]);
        }
    }
    return label;
}

QVariantMap ActionProperties(const QAction& action) {
    QVariantMap properties{{QStringLiteral("enabled"), action.isEnabled()},
                           {QStringLiteral("visible"), action.isVisible()}};
    if (action.isSeparator()) {
        properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
        return properties;
    }
    properties.insert(QStringLiteral("label"), Label(action.text()));
    if (action.isCheckable()) {
        properties.insert(QStringLiteral("toggle-type"), QStringLiteral("checkmark"));
        properties.insert(QStringLiteral("toggle-state"), action.isChecked() ? 1 : 0);
    }
    return properties;
}

// Only the asked-for properties; none asked for means all.
QVariantMap Chosen(QVariantMap properties, const QStringList& names) {
    if (!names.isEmpty()) {
        for (auto it = properties.begin(); it != properties.end();) {
            it = names.contains(it.key()) ? std::next(it) : properties.erase(it);
        }
    }
    return properties;
}

QList<int> Ids(const QVariant& argument) {
    return qdbus_cast<QList<int>>(argument);
}

// The menu's one level: the root (0) holds the actions, numbered from 1 in their order.
class DBusMenu final : public QDBusVirtualObject {
  public:
    explicit DBusMenu(const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            actions_.append(action);
            connect(action, &QAction::changed, this, [this] { LayoutChanged(); });
        }
    }

  private:
    QAction* Action(int id) const {
        return id >= 1 && id <= actions_.size() ? actions_[id - 1].data() : nullptr;
    }

    void LayoutChanged() {
        ++revision_;
        QDBusMessage signal =
            QDBusMessage::createSignal(kMenuPath, kMenuInterface, QStringLiteral("LayoutUpdated"));
        signal << revision_ << 0;
        QDBusConnection::sessionBus().send(signal);
    }

    MenuLayout Layout(int id, int depth, const QStringList& names) const {
        MenuLayout layout{id, Chosen(Properties(id), names), {}};
        for (int child = 1; id == 0 && depth != 0 && child <= actions_.size(); ++child) {
            layout.children.append(Layout(child, depth - 1, names));
        }
        return layout;
    }

    // The root (0) only says that it holds entries; hosts that miss this warn about it.
    QVariantMap Properties(int id) const {
        const QAction* action = Action(id);
        return id == 0
                   ? QVariantMap{{QStringLiteral("children-display"), QStringLiteral("submenu")}}
               : action != nullptr ? ActionProperties(*action)
                                   : QVariantMap();
    }

    // A click runs the action from the event loop, once the answer is out.
    bool Event(int id, const QString& name) const {
        QPointer<QAction> action = Action(id);
        if (action.isNull() && id != 0) {
            return false;
        }
        if (name == QLatin1String("clicked") && !action.isNull()) {
            QTimer::singleShot(0, action, [action] { action->trigger(); });
        }
        return true;
    }

    QVariant MenuProperty(const QString& name) const {
        if (name == QLatin1String("Version")) {
            return 3u;
        }
        if (name == QLatin1String("TextDirection")) {
            return QStringLiteral("ltr");
        }
        if (name == QLatin1String("Status")) {
            return QStringLiteral("normal");
        }
        if (name == QLatin1String("IconThemePath")) {
            return QStringList();
        }
        return {};
    }

    QString introspect(const QString&) const override {
        return QStringLiteral(
            "<interface name=\"com.canonical.dbusmenu\">"
            "<property name=\"Version\" type=\"u\" access=\"read\"/>"
            "<property name=\"TextDirection\" type=\"s\" access=\"read\"/>"
            "<property name=\"Status\" type=\"s\" access=\"read\"/>"
            "<property name=\"IconThemePath\" type=\"as\" access=\"read\"/>"
            "<method name=\"GetLayout\"><arg type=\"i\" direction=\"in\"/>"
            "<arg type=\"i\" direction=\"in\"/><arg type=\"as\" direction=\"in\"/>"
            "<arg type=\"u\" direction=\"out\"/><arg type=\"(ia{sv}av)\" direction=\"out\"/>"
            "</method>"
            "<method name=\"GetGroupProperties\"><arg type=\"ai\" direction=\"in\"/>"
            "<arg type=\"as\" direction=\"in\"/><arg type=\"a(ia{sv})\" direction=\"out\"/>"
            "</method>"
            "<method name=\"GetProperty\"><arg type=\"i\" direction=\"in\"/>"
            "<arg type=\"s\" direction=\"in\"/><arg type=\"v\" direction=\"out\"/></method>"
            "<method name=\"Event\"><arg type=\"i\" direction=\"in\"/>"
            "<arg type=\"s\" direction=\"in\"/><arg type=\"v\" direction=\"in\"/>"
            "<arg type=\"u\" direction=\"in\"/></method>"
            "<method name=\"EventGroup\"><arg type=\"a(isvu)\" direction=\"in\"/>"
            "<arg type=\"ai\" direction=\"out\"/></method>"
            "<method name=\"AboutToShow\"><arg type=\"i\" direction=\"in\"/>"
            "<arg type=\"b\" direction=\"out\"/></method>"
            "<method name=\"AboutToShowGroup\"><arg type=\"ai\" direction=\"in\"/>"
            "<arg type=\"ai\" direction=\"out\"/><arg type=\"ai\" direction=\"out\"/></method>"
            "<signal name=\"LayoutUpdated\"><arg type=\"u\"/><arg type=\"i\"/></signal>"
            "</interface>");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QDBusMessage reply = Answer(message);
        if (reply.type() == QDBusMessage::InvalidMessage) {
            return false;
        }
        connection.send(reply);
        return true;
    }

    QDBusMessage Answer(const QDBusMessage& message) const {
        const QString member = message.member();
        const QVariantList in = message.arguments();
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
            if (member == QLatin1String("Get") && in.size() == 2) {
                const QVariant value = MenuProperty(in[1].toString());
                return value.isValid()
                           ? message.createReply(QVariant::fromValue(QDBusVariant(value)))
                           : message.createErrorReply(QDBusError::UnknownProperty,
                                                      in[1].toString());
            }
            if (member == QLatin1String("GetAll")) {
                QVariantMap all;
                for (const char* name : {"Version", "TextDirection", "Status", "IconThemePath"}) {
                    all.insert(QString::fromLatin1(name), MenuProperty(QString::fromLatin1(name)));
                }
                return message.createReply(QVariant::fromValue(all));
            }
            return {};
        }
        if (member == QLatin1String("GetLayout") && in.size() == 3) {
            const MenuLayout layout = Layout(in[0].toInt(), in[1].toInt(), in[2].toStringList());
            return message.createReply(QVariantList{revision_, QVariant::fromValue(layout)});
        }
        if (member == QLatin1String("GetGroupProperties") && in.size() == 2) {
            QList<MenuProperties> entries;
            for (const int id : Ids(in[0])) {
                entries.append({id, Chosen(Properties(id), in[1].toStringList())});
            }
            return message.createReply(QVariant::fromValue(entries));
        }
        if (member == QLatin1String("GetProperty") && in.size() == 2) {
            const QVariant value = Properties(in[0].toInt()).value(in[1].toString());
            return value.isValid()
                       ? message.createReply(QVariant::fromValue(QDBusVariant(value)))
                       : message.createErrorReply(QDBusError::InvalidArgs, in[1].toString());
        }
        if (member == QLatin1String("Event") && in.size() == 4) {
            return Event(in[0].toInt(), in[1].toString())
                       ? message.createReply()
                       : message.createErrorReply(QDBusError::InvalidArgs, in[0].toString());
        }
        if (member == QLatin1String("EventGroup") && in.size() == 1) {
            QList<int> errors;
            for (const MenuEvent& event : qdbus_cast<QList<MenuEvent>>(in[0])) {
                if (!Event(event.id, event.name)) {
                    errors.append(event.id);
                }
            }
            return message.createReply(QVariant::fromValue(errors));
        }
        // The entries never change on being opened: nothing to bring up to date.
        if (member == QLatin1String("AboutToShow")) {
            return message.createReply(false);
        }
        if (member == QLatin1String("AboutToShowGroup")) {
            return message.createReply(
                QVariantList{QVariant::fromValue(QList<int>()), QVariant::fromValue(QList<int>())});
        }
        return {};
    }

    QList<QPointer<QAction>> actions_;
    uint revision_ = 1;
};

}  // namespace

std::string ExportDBusMenu(const QList<QAction*>& actions) {
    qDBusRegisterMetaType<QList<int>>();
    qDBusRegisterMetaType<MenuLayout>();
    qDBusRegisterMetaType<MenuProperties>();
    qDBusRegisterMetaType<QList<MenuProperties>>();
    qDBusRegisterMetaType<MenuEvent>();
    qDBusRegisterMetaType<QList<MenuEvent>>();
    // Kept for the life of the process, like the item: its destructor would wait on the bus's
    // thread, which is gone by the time static objects go.
    auto* menu = new DBusMenu(actions);
    return QDBusConnection::sessionBus().registerVirtualObject(kMenuPath, menu)
               ? kMenuPath.toStdString()
               : std::string();
}

}  // namespace tikora
