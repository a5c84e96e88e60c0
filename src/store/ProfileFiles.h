#pragma once

#include "model/KeyTable.h"
#include "store/ProfileImage.h"
#include "store/ProfileInfo.h"
#include "store/ProfileRow.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <span>

class ProfileView;

// The seven profiles: files of 185476 bytes in the folder "Profile" beside the executable,
// listed by "Profile.ini" (section "Profiles", keys Profile1 .. Profile7 with full paths).
// The main window owns one instance with the current profile's ProfileInfo; the profile
// dialog's rows are worked on by the routines below as well. The running configuration
// (key table, macro and combination images) is the process-wide one.
//
// Every file written is replaced atomically, through symbolic links, keeping its mode.
class ProfileFiles {
public:
    static constexpr int ProfileCount = 7;
    using Rows = std::array<ProfileRow, ProfileCount>;

    static inline const QString IniSection = QStringLiteral("Profiles");

    // The index when the value is one of 0 .. 6; a stored or sent index outside that range
    // must never reach a file name or the index file.
    static std::optional<int> checkedIndex(std::int64_t value);

    // The texts str_profile_title (default names "<title> n+1") and str_profile (the file
    // that applying an empty row writes), and the layout's key codes in layout order.
    void setTexts(const QString& profileTitle, const QString& profile);
    void setLayoutCodes(const KeyTable::LayoutCodes& codes) { layoutCodes_ = codes; }
    void setView(ProfileView* view) { view_ = view; }

    const ProfileInfo& info() const { return info_; }

    // Locations: the index file and the profile folder beside the executable.
    static QString iniPath();
    static QString profileDirectory();
    static bool profileDirectoryExists();
    static QString iniKey(int index);  // "Profile1" .. "Profile7"
    QString defaultName(int index) const;
    QString defaultPath(int index) const;

    // Routines of the main window.

    // The index's profile file, made with the default content at the default path when
    // the index file names none that exists. Empty when there is none (no executable
    // folder, or the default file could not be made).
    QString ResolveProfilePath(int index);
    // Writes the default content (keys in layout order) and records the path.
    bool CreateDefaultProfileFile(int index, const QString& path);
    bool RecordProfilePath(int index, const QString& path);
    // Loads the file into the running configuration and ProfileInfo; a file that cannot be
    // read changes nothing. The keys are refreshed either way.
    bool ReadProfileFile(const QString& path);
    // Writes ProfileInfo and the running configuration over the first 185476 bytes of an
    // existing file; whatever the file holds after them stays.
    bool WriteProfileFile(const QString& path);
    void LoadCurrentProfile(int index);
    void SaveCurrentProfile(int index);
    // The current file back to default keys and empty tables, named after its base name.
    void ResetCurrentProfile(int index);

    // Routines of the profile dialog.

    // The row of an index from its recorded file, or from a default file made at the
    // default path when that cannot be read; empty when that cannot be made either.
    ProfileRow LoadProfileRow(int index);
    // The selected row then refers to the chosen file where it lies; false when it cannot
    // be read, and the row is unchanged.
    bool ImportProfileFile(ProfileRow& row, const QString& chosenPath);
    bool ExportProfileFile(const ProfileRow& row, const QString& chosenPath);
    // A row without a path writes nothing.
    bool WriteRowFile(const ProfileRow& row);
    void RecordAllProfilePaths(const Rows& rows);
    // Makes the row the current profile: ProfileInfo and the running configuration come from
    // it, the keys are refreshed, and its file (or "<str_profile> n+1.pro" in the profile
    // folder for a row without name and path) is written from the running configuration.
    void ApplySelectedProfile(const ProfileRow& row, int index);

private:
    // The recorded path of an index; the default path when there is none. A value that is
    // not an absolute path (the fallback of a missing key is the bare default name) names
    // no file of ours.
    QString recordedPath(int index) const;
    ProfileImage defaultImage(const QString& name, bool keysInLayoutOrder) const;
    // The key table as a profile stores it; when it cannot be stored the section keeps
    // what it held and the user is told "error".
    void writeKeySection(ProfileImage::KeySection section) const;
    void showInfo(const ProfileInfo& info);
    void refreshAllKeys();

    ProfileInfo info_;
    QString profileTitle_;
    QString profile_;
    KeyTable::LayoutCodes layoutCodes_{};
    ProfileView* view_ = nullptr;
};
