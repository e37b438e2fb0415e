// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/profile.h"

namespace velmora {

TProfile *TProf_Projekt::ActiveProfile()
{
    if (ActiveIndex < 0 || ActiveIndex >= int(Profiles.size()))
        return nullptr;
    return &Profiles[size_t(ActiveIndex)];
}

const TProfile *TProf_Projekt::ActiveProfile() const
{
    if (ActiveIndex < 0 || ActiveIndex >= int(Profiles.size()))
        return nullptr;
    return &Profiles[size_t(ActiveIndex)];
}

void TProf_Projekt::RemoveProfile(int index)
{
    if (index < 0 || index >= int(Profiles.size()))
        return;
    Profiles.erase(Profiles.begin() + index);
    if (ActiveIndex == index)
        ActiveIndex = -1;
    else if (ActiveIndex > index)
        --ActiveIndex;
}

void TProf_Projekt::ClearProfiles()
{
    Profiles.clear();
    ActiveIndex = -1;
}

} // namespace velmora
