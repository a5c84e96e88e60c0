#pragma once

#include "store/ProfileInfo.h"

// What the profile routines need of the window that shows the current profile: it lives
// above the store, so the routines reach it only through this.
class ProfileView {
public:
    virtual void showProfileInfo(const ProfileInfo& info) = 0;
    // Every key button marked anew from the key table.
    virtual void refreshAllKeys() = 0;

protected:
    ~ProfileView() = default;
};
