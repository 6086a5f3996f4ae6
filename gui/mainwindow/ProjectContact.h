#pragma once
// The project's contact block of the main view and the two link targets, kept in
// one place so that a distributor can put in its own.

namespace ProjectContact {

inline constexpr char kPostalLines[] = "Projekt Tarvo\nsvobodný software";
inline constexpr char kWebText[] = "tarvo.example.org";
inline constexpr char kWebAddress[] = "https://tarvo.example.org/";
inline constexpr char kContactLines[] = "Dotazy, chyby a náměty\nhlaste na webu projektu\nnebo pište na adresu:";
inline constexpr char kMailText[] = "tarvo@example.org";
inline constexpr char kMailAddress[] = "mailto:tarvo@example.org";

}  // namespace ProjectContact
