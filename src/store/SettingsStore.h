#pragma once

#include "model/KeyTable.h"

#include <QString>

#include <cstdint>

class ProfileFiles;

// The whole configuration as five binary values under one per-user key. Loads once, puts
// defaults in place of anything missing or unusable (and writes them back at once), and
// writes everything on a full save with the companion warned before and told after.
class SettingsStore {
public:
    enum Notice { NoticeOk, NoticeApply, NoticeEdit };

    static inline const QString KeyPath = QStringLiteral("Software\\Quorv\\Zelt");
    static constexpr std::int32_t DefaultReportRate = 8;

    std::int32_t reportRate = DefaultReportRate;
    // The current profile, always 0 .. 6: a stored index outside that range loads as 0.
    std::int32_t profileSelection = 0;

    // The key codes of the layout in layout order, which the key defaults are built from.
    void setLayoutCodes(const KeyTable::LayoutCodes& codes) { layoutCodes_ = codes; }
    // The profiles whose current file every full save rewrites; none rewrites nothing.
    void setProfiles(ProfileFiles* profiles) { profiles_ = profiles; }

    void load();
    void saveAll(Notice notice);
    void writeReportRate();

    // Every layout key back to its own function, and the report rate back to its default.
    void buildKeyDefaults();

private:
    void rewriteCurrentProfile();

    KeyTable::LayoutCodes layoutCodes_{};
    ProfileFiles* profiles_ = nullptr;
};
