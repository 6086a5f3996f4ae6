#pragma once
// The project's contact block of the main view. The web address and the mail
// address are given by whoever builds the program (CMake cache values
// TARVO_WEB_ADDRESS and TARVO_MAIL_ADDRESS); a block without them shows the
// version and the licence in their place rather than a link that leads nowhere.

#ifndef TARVO_WEB_ADDRESS
#define TARVO_WEB_ADDRESS ""
#endif
#ifndef TARVO_MAIL_ADDRESS
#define TARVO_MAIL_ADDRESS ""
#endif

namespace ProjectContact {

inline constexpr char kPostalLines[] = "Projekt Tarvo\nsvobodný software";
inline constexpr char kWebAddress[] = TARVO_WEB_ADDRESS;    // "https://…", or empty
inline constexpr char kMailAddress[] = TARVO_MAIL_ADDRESS;  // "name@host", or empty
inline constexpr char kContactLinesWebAndMail[] =
    "Dotazy, chyby a náměty\nhlaste na webu projektu\nnebo pište na adresu:";
inline constexpr char kContactLinesWeb[] = "Dotazy, chyby a náměty\nhlaste na webu projektu.";
inline constexpr char kContactLinesMail[] = "Dotazy, chyby a náměty\npište na adresu:";
inline constexpr char kVersionLine[] = "verze " TARVO_VERSION;
inline constexpr char kLicenceLines[] = "Šíří se pod licencí\nGNU GPL verze 3\nnebo pozdější.";

}  // namespace ProjectContact
