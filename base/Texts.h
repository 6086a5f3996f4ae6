#pragma once
// The system's user texts: Czech messages, captions and fixed file texts, each with
// its string-table number where it has one (0 for a literal). Sources are UTF-8;
// Text() hands out the Windows-1250 bytes the rest of the system works with.

#include <QByteArray>

#include <initializer_list>

struct UserText {
    int number;        // string-table number, 0 for a literal
    const char* utf8;  // the text as the user sees it
};

namespace Texts {

// Settings and files.
inline constexpr UserText kDefaultHeader{
    32795, "Měřeno přístrojem SOUTH NTS-350\r\nZakázka:             ,  Měřil:                 ,Datum:"};
inline constexpr UserText kFileExists{32786, "Soubor %s existuje.\n\nChcete ho přepsat?"};
inline constexpr UserText kMeasuredDataFilter{32793, "Soubor měřených dat (*.sdt)|*.sdt|Všechny soubory (*.*)|*.*||"};
inline constexpr UserText kDxfSourceFilter{32804,
                                           "Soubor měřených dat (*.sdt)|*.sdt|Textový soubor bodů XYZ (*.txt)|*.txt||"};
inline constexpr UserText kAllFilesFilter{0, "Všechny soubory (*.*)|*.*||"};
// The profile could not be written at shutdown or when the communication settings
// were confirmed ("%1" is its file).
inline constexpr UserText kSettingsNotSaved{
    0, "Nastavení se nepodařilo uložit do souboru %1.\nPři příštím spuštění programu platí dříve uložené nastavení."};

// Window program: menu items (with their keys), toolbar tips, captions.
inline constexpr UserText kApplicationTitle{57344, "Tarvo"};
inline constexpr UserText kMenuBarEntry{0, "&Menu"};
inline constexpr UserText kToolsSubmenu{0, "Konverzní nástroje"};
inline constexpr UserText kMenuReceiveAndConvert{32780, "Konverze přijatých dat\tF1"};
inline constexpr UserText kMenuExportCoordinates{32781, "Export souřadnic\tF2"};
inline constexpr UserText kMenuConvertFile{32779, "Konverze souboru\tF3"};
inline constexpr UserText kMenuHeaders{32789, "Hlavičky"};
inline constexpr UserText kMenuHorizontalDistances{32788, "Vodorovné délky"};
inline constexpr UserText kMenuExportXyzDxf{32801, "Export XYZ bodů do dxf"};
inline constexpr UserText kMenuUseCurrent{32790, "Použít aktuální"};
inline constexpr UserText kMenuConversionParameters{32783, "Parametry konverze"};
inline constexpr UserText kMenuCommunicationParameters{32776, "Parametry komunikace"};
inline constexpr UserText kMenuHelp{32775, "Nápověda"};
inline constexpr UserText kMenuExit{57665, "Konec"};
inline constexpr UserText kTipReceiveAndConvert{32780, "\nKonverze z portu"};
inline constexpr UserText kTipExportCoordinates{32781, "\nExport souřadnic"};
inline constexpr UserText kTipConvertFile{32779, "\nKonverze souboru"};
inline constexpr UserText kTipTools{32787, "\nNástroje"};
inline constexpr UserText kTipConversionParameters{32783, "\nParametry konverze"};
inline constexpr UserText kTipCommunicationParameters{32776, "\nParametry komunikace"};
inline constexpr UserText kTipHelp{32775, "\nNápověda"};
inline constexpr UserText kPromptExportXyzDxf{32801, "Export bodů XYZ bodů do souboru dxf"};
inline constexpr UserText kHelpManual{0, "Návod.pdf"};

// File errors, reported naming the file ("%1").
inline constexpr UserText kFileNotFound{0, "Soubor %1 nebyl nalezen."};
inline constexpr UserText kFileAccessDenied{0, "Přístup k souboru %1 byl odepřen."};
inline constexpr UserText kFileReadError{0, "Při čtení souboru %1 došlo k neočekávané chybě."};
inline constexpr UserText kFileWriteError{0, "Při zápisu do souboru %1 došlo k neočekávané chybě."};
inline constexpr UserText kFileDiskFull{0, "Při zápisu do souboru %1 došlo místo na disku."};
inline constexpr UserText kFileCreateError{0, "Soubor %1 nelze vytvořit."};
inline constexpr UserText kFileBadPath{0, "Cesta %1 je neplatná."};

// Conversion of measured data.
inline constexpr UserText kWarnHeight{32796, "Upozornění!\nImportována výška stanoviska/cíle větší než 5 m!"};
inline constexpr UserText kWarnFeet{
    32797, "Upozornění!\nImportováné vzdálenosti nemají definovány jednotky metry, ale stopy (feet)!"};
inline constexpr UserText kWarnAngles{32798, "Upozornění!\nImportováné úhly nemají definovány jednotky grady!"};
inline constexpr UserText kAskCorrections{0, "Použít současné nastavení korekcí?"};
inline constexpr UserText kAskMillion{0, "Přičíst k souřadnicím milión?"};
inline constexpr UserText kFieldBookPreambleFull{32850, "9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n2\r\n\r\n"};
inline constexpr UserText kFieldBookPreambleTools{32851, "9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n0\r\n\r\n"};
inline constexpr UserText kSheetCaption{0, "Parametry výstupu ve formátu MAPA2"};
inline constexpr UserText kOutputCaption{0, "Výstupní soubor konverze "};
inline constexpr UserText kBadMeanHeight{0,
                                         "Průměrná nadmořská výška %s m je mimo rozsah, korekci délek z ní nelze "
                                         "spočítat.\nOpravte ji v parametrech konverze, převod neproběhl."};

// Serial link, reception and upload.
inline constexpr UserText kBadCommSettings{
    0, "Špatné nastavení parametrů komunikace!\nZměňte parametry v dialogu, jinak nebude příjem dat funkční!"};
inline constexpr UserText kCommTestFailed{0, "Nastavení komunikace selhalo!\nZměňte nastavení komunikace."};
inline constexpr UserText kWaitingForData{0, "Čekám na data ..."};
inline constexpr UserText kReceivingData{0, "Přijímám data ... %u bytů přijato"};
inline constexpr UserText kNoValidPoints{0, "Nebyly nalezeny žádné platné body!"};
inline constexpr UserText kNoValidCodes{0, "Nebyly nalezeny žádné platné kódy!"};
inline constexpr UserText kSetReceiveMode{
    0, "Nastavte totální stanici do režimu příjmu dat (kódů) ...\n\nPoté stiskněte OK."};
inline constexpr UserText kSentPoints{0, "Odesláno %u bodů ..."};
inline constexpr UserText kSentCodes{0, "Odesláno %u kódů ..."};
inline constexpr UserText kSentDataHeading{0,
                                           "Odeslaná data:\r\nID                Y   \t      X   \t      "
                                           "Z\r\n--------------------------------------------------\r\n"};
// A write to the instrument failed; "%s" is the reason.
inline constexpr UserText kUploadFailed{0, "Přenos dat selhal!\n%s"};
inline constexpr UserText kSerialWriteFailed{
    0, "Data se nepodařilo odeslat sériovým portem (port neodpovídá nebo byl odpojen)."};
inline constexpr UserText kConnectionLost{
    0, "Spojení s přístrojem bylo přerušeno!\nPřenos nemusí být úplný; uloženo bylo %s přijatých bytů."};
inline constexpr UserText kConnectionLostNoData{0, "Spojení s přístrojem bylo přerušeno!\nŽádná data nebyla přijata."};
inline constexpr UserText kReceivedDataKeptIn{0, "Přijatá data zůstala uložena v souboru %s."};

// The check before an upload; "%1", "%2"... are filled in that order.
inline constexpr UserText kFindingsHeading{0, "Seznam nepřijde do přístroje přesně tak, jak je napsán:"};
inline constexpr UserText kFindingLine{0, "• %1"};
inline constexpr UserText kFindingSameName{0, "Body %1 budou mít v přístroji stejný název %2."};
inline constexpr UserText kFindingCoordinate{0, "Bod %1: %2 %3 přijde do přístroje jako %4."};
inline constexpr UserText kFindingCodeNotSent{0, "Řádek %1 „%2“ se neodešle: číslo kódu %3 není v rozsahu 1 až 50."};
inline constexpr UserText kFindingCodeRenumbered{
    0, "Řádek %1 „%2“: číslo kódu %3 není v rozsahu 1 až 50, odešle se jako kód %4."};
inline constexpr UserText kFindingCodeRepeated{0, "Kód %1 je v seznamu vícekrát: %2."};
inline constexpr UserText kFindingNameCut{0, "Název bodu %1 se zkrátí na %2."};
inline constexpr UserText kFindingCodeTextCut{0, "Text kódu %1 „%2“ se zkrátí na „%3“."};
inline constexpr UserText kFindingsMore{0, "… a další, celkem %1 zjištění."};
inline constexpr UserText kQuoted{0, "„%1“"};
inline constexpr UserText kShortened{0, "%1…"};
inline constexpr UserText kUnnamedPoint{0, "bez názvu"};
inline constexpr UserText kAskSendAnyway{0, "Odeslat přesto?"};

// Reception window and communication settings dialog.
inline constexpr UserText kStorno{0, "Storno"};
inline constexpr UserText kCommDialogCaption{0, "Nastavení parametrů komunikace"};
inline constexpr UserText kCommGroup{0, " Komunikace "};
inline constexpr UserText kCommPortLabel{0, "Sériový port"};
inline constexpr UserText kCommSpeedLabel{0, "Rychlost přenosu"};
inline constexpr UserText kCommDataBitsLabel{0, "Počet dat. bitů"};
inline constexpr UserText kCommParityLabel{0, "Parita"};
inline constexpr UserText kCommStopBitsLabel{0, "Stop bity"};
inline constexpr UserText kCommDataBits5{0, "5 bitů"};
inline constexpr UserText kCommDataBits6{0, "6 bitů"};
inline constexpr UserText kCommDataBits7{0, "7 bitů"};
inline constexpr UserText kCommDataBits8{0, "8 bitů"};
inline constexpr UserText kCommParityNone{0, "žádná"};
inline constexpr UserText kCommParityOdd{0, "lichá"};
inline constexpr UserText kCommParityEven{0, "sudá"};
inline constexpr UserText kCommStopBits1{0, "1 bit"};
inline constexpr UserText kCommStopBits15{0, "1,5 bitu"};
inline constexpr UserText kCommStopBits2{0, "2  bity"};
inline constexpr UserText kCommFlowNote{0, "Pozn.: Řízení toku žádné."};
// A port of the list that the system does not report as present (Windows; "%1"
// is its name).
inline constexpr UserText kCommPortAbsent{0, "%1 (nenalezen)"};
// The device a port opens on Linux (profile section "Ports").
inline constexpr UserText kCommDeviceLabel{0, "Zařízení"};
inline constexpr UserText kCommDeviceTip{
    0, "Soubor zařízení, který se pro zvolený port otevře (např. /dev/ttyUSB0); uloží se spolu s ostatními hodnotami."};

// Upload window: caption, toolbar tips and the format help of its help button.
inline constexpr UserText kUploadWindowCaption{0, "Přenos souřadnic do totální stanice"};
inline constexpr UserText kTipOpenListFile{0, "Otevřít soubor"};
inline constexpr UserText kTipSendPoints{0, "Odeslat body"};
inline constexpr UserText kTipSendCodes{0, "Odeslat kódy"};
inline constexpr UserText kTipUploadHelp{0, "Nápověda"};
inline constexpr UserText kTipCloseUploadWindow{0, "Zavřít okno"};
inline constexpr UserText kUploadFormatHelp{
    32800,
    "Formát dat přenosu souřadnic N, E, Z:\nKaždý řádek obsahuje informace o jednom bodu. První hodnota je název "
    "bodu,\nnásleduje Y-ová souřadnice, X-ová a výška Z (pokud není výška uvedena, je implicitně nulová).\nJednotlivé "
    "hodnoty mohou být odděleny mezerou (i více), středníkem nebo tabelátorem (pro vložení tabelátoru v editoru "
    "použijte Ctrl+TAB).\nPokud je nastaveno prohození souřadnic X/Y pro výstup, je pořadí hodnot opačné tzn. X, Y a "
    "Z.\nPro název bodu bude použito max. prvních 10 znaků; číselné hodnoty větší než 1000000\nbudou konvertovány "
    "odtržením části nad 1000000.\nJako desetiný oddělovač lze použít čárku nebo tečku.\n\nFormát dat přenosu "
    "kódů:\nKaždý řádek obsahuje informace o jednom kódu. První hodnota je číslo kódu v intervalu 1 až 50,\nnásleduje "
    "textový popis kódu (akceptováno pouze prvních deset znaků).\nHodnoty jsou odděleny čárkou."};

// The check of an NTS-350 transfer's blocks; byte offsets from the start of the file.
inline constexpr UserText kTransferFindingsHeading{0, "Upozornění!\nPřenos dat z přístroje neprošel kontrolou bloků:"};
inline constexpr UserText kBlockChecksum{0, "blok %1 (bajty %2–%3): nesouhlasí kontrolní součet"};
inline constexpr UserText kBlockLost{0, "blok %1 (bajty %2–%3): má číslo %4 místo %5, předchozí blok chybí"};
inline constexpr UserText kBlockRepeated{0, "blok %1 (bajty %2–%3): má číslo %4 místo %5, blok se opakuje"};
inline constexpr UserText kBlockWrongLength{0, "blok %1 (bajty %2–%3): chybná délka bloku"};
inline constexpr UserText kBlockTrailingText{0, "bajty %1–%2 za posledním blokem nepatří do žádného bloku"};
inline constexpr UserText kRepeatTransfer{
    0, "Převod proběhne, data ale nemusí být úplná ani správná. Doporučujeme přenos z přístroje opakovat."};

// Which instrument a measured-data file comes from.
inline constexpr UserText kNts350{0, "NTS-350"};
inline constexpr UserText kNts660{0, "NTS-660"};
inline constexpr UserText kUnknownDevice{0, "neznámý přístroj (DeviceType=%1)"};
inline constexpr UserText kAskDeviceMismatch{
    0,
    "Soubor %1 obsahuje podle všeho data z přístroje %2, v parametrech konverze je ale nastaven přístroj "
    "%3.\n\nPřevést ho tentokrát jako data z přístroje %2? Nastavení přístroje se nezmění."};
inline constexpr UserText kDeviceRecognised{0, "Rozpoznaný přístroj: %1 (DeviceType=%2)."};
inline constexpr UserText kDeviceNotRecognised{
    0, "Přístroj se z dat rozpoznat nepodařilo, data se převedou jako z přístroje %1 (DeviceType=%2)."};

// What a conversion read and wrote.
inline constexpr UserText kReceipt{
    0,
    "Rozpoznáno: stanoviska %1, orientace %2, záměry s délkou %3, záměry jen úhly %4, body se souřadnicemi %5, "
    "kódy %6. Přeskočeno: bajty mimo záznamy %7, nedokončené záznamy %8."};
inline constexpr UserText kReceiptWritten{0, "Zapsáno: %1."};
inline constexpr UserText kNothingWritten{0, "Nebyl zapsán žádný soubor: %1"};
inline constexpr UserText kNothingRecognised{0, "v datech není žádný záznam přístroje %1."};
inline constexpr UserText kNoStationsOrSightings{0, "data neobsahují žádné stanovisko ani záměru."};
inline constexpr UserText kRunStopped{0, "převod byl zastaven."};
inline constexpr UserText kRunFailed{0, "převod skončil chybou (viz předchozí hlášení)."};

// DXF export.
inline constexpr UserText kNoXyzPoints{0, "Nenalezeny žádné body XYZ !"};

}  // namespace Texts

// The Windows-1250 bytes of a user text.
QByteArray Text(const UserText& text);

// The text with "%1".."%9" replaced by the arguments in one pass: an argument that
// itself holds "%2" stays as it is.
QByteArray TextFilled(const UserText& pattern, std::initializer_list<QByteArray> arguments);

// The text with its first "%s" (or "%1") replaced by argument, byte for byte; no
// printf, so a "%" in a path stays as it is.
QByteArray TextWith(const UserText& text, const QByteArray& argument);
