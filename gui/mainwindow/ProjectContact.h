#pragma once
// The addresses of the main view's contact block, given by whoever builds the
// program (CMake cache values TARVO_WEB_ADDRESS and TARVO_MAIL_ADDRESS); a block
// without them shows the version and the licence in their place rather than a
// link that leads nowhere. The block's texts are in gui/common/WindowTexts.h.

#ifndef TARVO_WEB_ADDRESS
#define TARVO_WEB_ADDRESS ""
#endif
#ifndef TARVO_MAIL_ADDRESS
#define TARVO_MAIL_ADDRESS ""
#endif

namespace ProjectContact {

inline constexpr char kWebAddress[] = TARVO_WEB_ADDRESS;    // "https://…", or empty
inline constexpr char kMailAddress[] = TARVO_MAIL_ADDRESS;  // "name@host", or empty

}  // namespace ProjectContact
