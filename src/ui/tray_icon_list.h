#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace quenmark {

class TTrayIcon;

// The living tray icons in creation order, each under the decimal text of
// its TrayID, as the notification messages name them.
class TTrayIconList {
public:
    // At most this many tray icons may live at once.
    static constexpr int MaxCount = 100;

    int Count() const { return static_cast<int>(FEntries.size()); }
    // The identifier for a new icon: one above the last-created living icon.
    int NextID() const;
    void Add(int id, TTrayIcon* icon);
    void Remove(int id);
    TTrayIcon* Find(const QString& idText) const;

private:
    std::vector<std::pair<QString, TTrayIcon*>> FEntries;
};

// The process-wide list shared by all tray icons.
TTrayIconList& TrayIconList();

}  // namespace quenmark
