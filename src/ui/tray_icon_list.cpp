#include "ui/tray_icon_list.h"

#include <algorithm>

namespace quenmark {

int TTrayIconList::NextID() const {
    return FEntries.empty() ? 1 : FEntries.back().first.toInt() + 1;
}

void TTrayIconList::Add(int id, TTrayIcon* icon) {
    FEntries.emplace_back(QString::number(id), icon);
}

void TTrayIconList::Remove(int id) {
    const QString idText = QString::number(id);
    const auto entry = std::find_if(FEntries.begin(), FEntries.end(),
                                    [&](const auto& item) { return item.first == idText; });
    if (entry != FEntries.end()) FEntries.erase(entry);
}

TTrayIcon* TTrayIconList::Find(const QString& idText) const {
    for (const auto& [text, icon] : FEntries) {
        if (text == idText) return icon;
    }
    return nullptr;
}

TTrayIconList& TrayIconList() {
    static TTrayIconList list;
    return list;
}

}  // namespace quenmark
