// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Profile names and titles are kept as the bytes of their files (Windows-1252)
// so that a load/save round trip never alters them; these convert for display
// and for messages only.
std::string cp1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 form become '?'. Invalid UTF-8 bytes are
// taken as Latin-1, so the conversion never fails.
std::string utf8ToCp1252(std::string_view utf8);

} // namespace velmora
