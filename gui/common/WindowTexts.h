#pragma once
// The texts only the windows show: captions, menu items, toolbar tips, labels of
// the dialogs and their pages, and the messages a window tells of its own accord.
// Texts the core shows or writes stay in base/Texts.h. Sources are UTF-8; the
// string-table number is in a comment where a text has one.

#include "base/Texts.h"

namespace WindowTexts {

inline constexpr UserText kApplicationTitle{"Tarvo"};  // 57344
inline constexpr UserText kStorno{"Storno"};

// Main window: caption, menu items (with their keys), toolbar tips.
inline constexpr UserText kMainWindowCaption{"Tarvo v" TARVO_VERSION};
inline constexpr UserText kMenuBarEntry{"&Menu"};
inline constexpr UserText kToolsSubmenu{"Konverzní nástroje"};
inline constexpr UserText kMenuReceiveAndConvert{"Konverze přijatých dat\tF1"};  // 32780
inline constexpr UserText kMenuExportCoordinates{"Export souřadnic\tF2"};        // 32781
inline constexpr UserText kMenuConvertFile{"Konverze souboru\tF3"};              // 32779
inline constexpr UserText kMenuHeaders{"Hlavičky"};                              // 32789
inline constexpr UserText kMenuHorizontalDistances{"Vodorovné délky"};           // 32788
inline constexpr UserText kMenuExportXyzDxf{"Export XYZ bodů do dxf"};           // 32801
inline constexpr UserText kMenuCheckFieldBook{"Kontrola zápisníku"};
inline constexpr UserText kMenuUseCurrent{"Použít aktuální"};                          // 32790
inline constexpr UserText kMenuConversionParameters{"Parametry konverze"};             // 32783
inline constexpr UserText kMenuCommunicationParameters{"Parametry komunikace"};        // 32776
inline constexpr UserText kMenuHelp{"Nápověda"};                                       // 32775
inline constexpr UserText kMenuExit{"Konec"};                                          // 57665
inline constexpr UserText kTipReceiveAndConvert{"\nKonverze z portu"};                 // 32780
inline constexpr UserText kTipExportCoordinates{"\nExport souřadnic"};                 // 32781
inline constexpr UserText kTipConvertFile{"\nKonverze souboru"};                       // 32779
inline constexpr UserText kTipTools{"\nNástroje"};                                     // 32787
inline constexpr UserText kTipConversionParameters{"\nParametry konverze"};            // 32783
inline constexpr UserText kTipCommunicationParameters{"\nParametry komunikace"};       // 32776
inline constexpr UserText kTipHelp{"\nNápověda"};                                      // 32775
inline constexpr UserText kPromptExportXyzDxf{"Export bodů XYZ bodů do souboru dxf"};  // 32801
inline constexpr UserText kPromptCheckFieldBook{"Kontrola zápisníku v souboru měřených dat bez převodu"};

// Help: the manual beside the program, and what is told when it cannot be shown
// ("%1" is its file).
inline constexpr UserText kHelpManual{"Návod.pdf"};
inline constexpr UserText kManualMissing{"Soubor návodu %1 nebyl nalezen."};
inline constexpr UserText kNoPdfViewer{
    "Návod %1 se nepodařilo otevřít: v systému není nastaven žádný prohlížeč souborů PDF.\nNainstalujte "
    "prohlížeč PDF (například balíček evince nebo okular) a zvolte Nápovědu znovu, nebo soubor otevřete sami."};
inline constexpr UserText kNoPdfViewerWindows{
    "Návod %1 se nepodařilo otevřít: v systému není nastaven žádný program pro soubory PDF.\nNainstalujte "
    "prohlížeč PDF nebo soubory PDF přiřaďte webovému prohlížeči (Nastavení › Aplikace › Výchozí aplikace) a "
    "zvolte Nápovědu znovu."};

// The contact block of the main view. A build that names a web or mail address
// shows the lines that lead to it; without either the version and the licence.
inline constexpr UserText kContactPostal{"Projekt Tarvo\nsvobodný software"};
inline constexpr UserText kContactWebAndMail{"Dotazy, chyby a náměty\nhlaste na webu projektu\nnebo pište na adresu:"};
inline constexpr UserText kContactWeb{"Dotazy, chyby a náměty\nhlaste na webu projektu."};
inline constexpr UserText kContactMail{"Dotazy, chyby a náměty\npište na adresu:"};
inline constexpr UserText kContactVersion{"verze " TARVO_VERSION};
inline constexpr UserText kContactLicence{"Šíří se pod licencí\nGNU GPL verze 3\nnebo pozdější."};

// The receipt line after F1 when nothing was converted: what the reception did
// ("%1 %2" the participle and the count of bytes: "přijato 600 bajtů", "%3" the
// file's name).
inline constexpr UserText kReceiptPortRefused{
    "Příjem dat nezačal: port se nepodařilo otevřít (viz předchozí hlášení)."};
inline constexpr UserText kReceiptReceptionCancelled{"Příjem dat byl zrušen: nic nebylo uloženo ani převedeno."};
inline constexpr UserText kReceiptLostNoData{
    "Spojení s přístrojem bylo přerušeno dřív, než přišla data: nic nebylo uloženo ani převedeno."};
inline constexpr UserText kReceiptReceptionFailed{
    "Příjem dat skončil chybou (viz předchozí hlášení); nic nebylo převedeno."};
inline constexpr UserText kReceiptBrokenNotConverted{"Přenos byl přerušen: %1 %2 do %3, data nebyla převedena."};

// At start-up, after the sentences of the profile values not used ("%1" the
// profile's file).
inline constexpr UserText kProfileValuesAdvice{
    "Profil: %1.\nProgram do profilu uloží hodnoty, které platí. Jinou hodnotu nastavte v Parametrech konverze "
    "(sériovou linku v Parametrech komunikace)."};

// The window of a long step ("%1" is the file).
inline constexpr UserText kStepConverting{"Převádím soubor %1 ..."};
inline constexpr UserText kStepDrawing{"Kreslím body souboru %1 do výkresu DXF ..."};

// The output window; the file's title follows the caption.
inline constexpr UserText kOutputCaption{"Výstupní soubor konverze "};

// The parameter sheet, its tabs and buttons.
inline constexpr UserText kSheetCaption{"Parametry výstupu ve formátu MAPA2"};
inline constexpr UserText kReductionTab{"Redukce do S-JTSK"};
inline constexpr UserText kHeaderTab{"Hlavička souboru"};
inline constexpr UserText kConversionTab{"Parametry konverze dat"};
inline constexpr UserText kCheckTab{"Kontrola"};
inline constexpr UserText kSheetOk{"OK"};
inline constexpr UserText kSheetApply{"Použít"};
// Page "Redukce do S-JTSK".
inline constexpr UserText kAveragesGroup{"Průměrné hodnoty"};
inline constexpr UserText kSheetNotNumber{"Hodnota „%1“ v poli %2 není číslo."};
inline constexpr UserText kSheetOutOfRange{"Hodnota %1 v poli %2 leží mimo rozsah %3."};
inline constexpr UserText kAverageXLabel{"Souřadnice X [m]:"};
inline constexpr UserText kAverageYLabel{"Souřadnice Y [m]:"};
inline constexpr UserText kAverageHeightLabel{"Nadm. výška [m]:"};
inline constexpr UserText kCorrectionsGroup{"Korekce délek"};
inline constexpr UserText kProjectionReductionLabel{"Redukce zobrazení S-JTSK:"};
inline constexpr UserText kHeightReductionLabel{"Redukce na nulový horizont:"};
inline constexpr UserText kTotalReductionLabel{"Celková redukce délek:"};
inline constexpr UserText kScaleFactorLabel{"Měřítkový faktor:"};
// Page "Hlavička souboru".
inline constexpr UserText kUseHeaderCheck{"Použít hlavičku souboru"};
// Page "Parametry konverze dat".
inline constexpr UserText kConversionGroup{"Parametry konverze dat"};
inline constexpr UserText kSwapAnglesCheck{"Prohození úhlů vert./horizont."};
inline constexpr UserText kWarnUnitsCheck{"Informovat o nestand. nastavení jednotek"};
inline constexpr UserText kWarnHeightsCheck{"Informovat o nestand. výškách"};
inline constexpr UserText kMarkerLabel{"Označení orientačních bodů:"};
inline constexpr UserText kFurtherGroup{"Nastavení dalších funkcí konverze"};
inline constexpr UserText kShowOutputCheck{"Zobrazit cílový soubor (zap,asc)"};
inline constexpr UserText kAskOverwriteCheck{"Dotaz na přepsání souborů"};
inline constexpr UserText kKeep200Check{"Ukládat data do souboru (*.200)"};
inline constexpr UserText kSwapXyCheck{"Prohození výstupu souřadnic X/Y"};
inline constexpr UserText kSixteenColourCheck{"Obrázky tlačítek v 16 barvách"};
inline constexpr UserText kSixteenColourTip{
    "Jednodušší obrázky tlačítek (pro obrazovky a vzdálené plochy s málo barvami). Okno přenosu je ukáže hned, "
    "hlavní okno po novém spuštění programu."};
inline constexpr UserText kDeviceTypeLabel{"Typ přístroje:"};
inline constexpr UserText kDrawingGroup{"Výkres DXF"};
inline constexpr UserText kDxfRatioLabel{"Měřítko DXF:"};
inline constexpr UserText kDxfAxesLabel{"Osy:"};
inline constexpr UserText kDxfAxesPositive{"x = Y, y = X (kladné)"};
inline constexpr UserText kDxfAxesEpsg{"EPSG:5514, x = –Y, y = –X"};
inline constexpr UserText kDxfAxesTip{
    "EPSG:5514 (S-JTSK / Krovak East North): výkres leží na katastrální mapě i v GIS, například v QGIS.\n"
    "Kladné osy: X a Y jako v seznamu souřadnic (s prohozením X/Y naopak)."};
inline constexpr UserText kDxfLayersCheck{"Hladiny podle kódů bodů"};
inline constexpr UserText kDxfLayersTip{
    "Bod i jeho popisy v hladině pojmenované podle kódu bodu, body bez kódu v hladině BEZ_KODU."};
inline constexpr UserText kDxf3dCheck{"Výška bodu jako souřadnice z (3D)"};
// Page "Kontrola": the field-book check's limits, suspicious and wrong.
inline constexpr UserText kCheckLimitsGroup{"Meze kontroly zápisníku"};
inline constexpr UserText kCheckSuspiciousColumn{"podezřelé nad"};
inline constexpr UserText kCheckWrongColumn{"chybné nad"};
inline constexpr UserText kCheckPositionLabel{"Poloha podél a napříč záměrou [m]:"};
inline constexpr UserText kCheckHeightLabel{"Výška opakované záměry [m]:"};
inline constexpr UserText kCheckLineLabel{"Délka tam a zpět, proti souřadnicím [m]:"};
inline constexpr UserText kCheckLineHeightLabel{"Převýšení tam a zpět [m]:"};
inline constexpr UserText kCheckFacesLabel{"Kolimační a indexová chyba dvojice [gon]:"};
inline constexpr UserText kCheckRangeLabel{"Nejdelší šikmá délka [m]:"};
inline constexpr UserText kCheckDefaultsButton{"Výchozí meze"};

// The communication settings dialog; the test of its OK, when it fails, says
// kCommTestFailed, why, and kCommTestAdvice.
inline constexpr UserText kCommDialogCaption{"Nastavení parametrů komunikace"};
inline constexpr UserText kCommGroup{" Komunikace "};
inline constexpr UserText kCommPortLabel{"Sériový port"};
inline constexpr UserText kCommSpeedLabel{"Rychlost přenosu"};
inline constexpr UserText kCommDataBitsLabel{"Počet dat. bitů"};
inline constexpr UserText kCommParityLabel{"Parita"};
inline constexpr UserText kCommStopBitsLabel{"Stop bity"};
inline constexpr UserText kCommDataBits5{"5 bitů"};
inline constexpr UserText kCommDataBits6{"6 bitů"};
inline constexpr UserText kCommDataBits7{"7 bitů"};
inline constexpr UserText kCommDataBits8{"8 bitů"};
inline constexpr UserText kCommParityNone{"žádná"};
inline constexpr UserText kCommParityOdd{"lichá"};
inline constexpr UserText kCommParityEven{"sudá"};
inline constexpr UserText kCommStopBits1{"1 bit"};
inline constexpr UserText kCommStopBits15{"1,5 bitu"};
inline constexpr UserText kCommStopBits2{"2  bity"};
inline constexpr UserText kCommFlowNote{"Pozn.: Řízení toku žádné."};
// A port of the list that the system does not report as present (Windows; "%1"
// is its name).
inline constexpr UserText kCommPortAbsent{"%1 (nenalezen)"};
// The device a port opens on Linux (profile section "Ports").
inline constexpr UserText kCommDeviceLabel{"Zařízení"};
inline constexpr UserText kCommDeviceTip{
    "Soubor zařízení, který se pro zvolený port otevře (např. /dev/ttyUSB0); uloží se spolu s ostatními hodnotami."};
inline constexpr UserText kCommTestFailed{"Nastavení komunikace selhalo!"};
inline constexpr UserText kCommTestAdvice{"Změňte nastavení komunikace."};

// Upload window: caption, toolbar tips and the format help of its help button.
inline constexpr UserText kUploadWindowCaption{"Přenos souřadnic do totální stanice"};
inline constexpr UserText kTipOpenListFile{"Otevřít soubor"};
inline constexpr UserText kTipSendPoints{"Odeslat body"};
inline constexpr UserText kTipSendCodes{"Odeslat kódy"};
inline constexpr UserText kTipUploadHelp{"Nápověda"};
inline constexpr UserText kTipCloseUploadWindow{"Zavřít okno"};
inline constexpr UserText kUploadListTab{"Seznam"};
inline constexpr UserText kUploadLogTab{"Odeslaná data"};
inline constexpr UserText kUploadFormatHelp{
    "Formát dat přenosu souřadnic (název, Y, X, Z):\n"
    "Každý řádek obsahuje informace o jednom bodu. První hodnota je název bodu,\n"
    "následuje Y-ová souřadnice, X-ová a výška Z (pokud není výška uvedena, je implicitně nulová).\n"
    "Jednotlivé hodnoty mohou být odděleny mezerou (i více), středníkem nebo tabelátorem (pro vložení tabelátoru "
    "v editoru použijte Ctrl+TAB).\n"
    "Pokud je nastaveno prohození souřadnic X/Y pro výstup, je pořadí hodnot opačné tzn. X, Y a Z.\n"
    "Pro název bodu bude použito max. posledních 10 znaků; číselné hodnoty větší než 1000000\n"
    "budou konvertovány odtržením části nad 1000000.\n"
    "Jako desetinný oddělovač lze použít čárku nebo tečku; výšku Z pište s tečkou.\n"
    "\n"
    "Formát dat přenosu kódů:\n"
    "Každý řádek obsahuje informace o jednom kódu. První hodnota je číslo kódu v intervalu 1 až 50,\n"
    "následuje textový popis kódu (akceptováno pouze prvních deset znaků).\n"
    "Hodnoty jsou odděleny čárkou."};  // 32800

// The protocol window of the field-book check: the findings first, the
// observations of the one chosen, then the whole protocol.
inline constexpr UserText kProtocolCaption{"Kontrola zápisníku"};
inline constexpr UserText kProtocolFindings{"Zjištění:"};
inline constexpr UserText kProtocolObservations{"Záznamy vybraného zjištění:"};
inline constexpr UserText kProtocolText{"Protokol:"};
inline constexpr UserText kProtocolClose{"Zavřít"};
inline constexpr UserText kFindingColumns{"Úroveň|Stanovisko|Body|Kontrola|Hodnota|Mez"};
inline constexpr UserText kObservationColumns{
    "Záznam|Bod|Druh|Vodorovný směr [gon]|Zenitový úhel [gon]|Šikmá délka (S-JTSK) [m]|Výška přístroje, cíle [m]|Kód"};
inline constexpr UserText kObservationStation{"stanovisko"};
inline constexpr UserText kObservationBacksight{"orientace"};
inline constexpr UserText kObservationSighting{"záměra"};
inline constexpr UserText kObservationAngles{"záměra jen úhly"};
inline constexpr UserText kObservationOther{"jiný záznam"};

// The preview of a drawing just written.
inline constexpr UserText kPreviewCaption{"Náhled výkresu"};
inline constexpr UserText kPreviewLayers{"Hladiny:"};
inline constexpr UserText kPreviewFit{"Celý výkres"};
inline constexpr UserText kPreviewPoints{"Ve výkresu: %1."};

}  // namespace WindowTexts
