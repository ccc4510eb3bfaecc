// SPDX-License-Identifier: MIT
#pragma once

#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <memory>

#include "platform/item_tray.h"

namespace tikora {

// The clock as a StatusNotifierItem on the session bus: an object of our own at
// /StatusNotifierItem under the name org.kde.StatusNotifierItem-PID-1, registered with whoever
// owns org.kde.StatusNotifierWatcher (a panel's tray), and again whenever that owner changes.
class StatusNotifierItem final : public ItemTray, private QDBusVirtualObject {
  public:
    StatusNotifierItem();
    ~StatusNotifierItem() override;

    std::string Host() const override;
    bool Show(const std::vector<ItemPixmap>& pictures, ItemHandlers handlers) override;
    void Hide() override;
    void WatchForHost(std::function<void()> onChange) override;

  private:
    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QVariant Property(const QString& name) const;
    void Signal(const char* name) const;

    std::unique_ptr<QDBusServiceWatcher> watcher_;
    std::function<void()> onHostChange_;
    std::vector<ItemPixmap> pictures_;
    ItemHandlers handlers_;
    bool exported_ = false;
    QString registeredWith_;  // the watcher's unique name that took the item in
};

}  // namespace tikora
