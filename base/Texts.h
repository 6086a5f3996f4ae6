#pragma once
// The core's user texts: the Czech messages it shows through Prompter, the texts
// it writes into files, the receipts and the command line's texts, each with its
// string-table number in a comment where it has one (the texts only windows show
// are in gui/common/WindowTexts.h). Sources are UTF-8; Text() hands out the
// Windows-1250 bytes the rest of the system works with.

#include <QByteArray>
#include <QtGlobal>

#include <initializer_list>

struct UserText {
    const char* utf8;  // the text as the user sees it
};

// A Czech noun in the three forms a count asks for (UTF-8): 1 bod, 2 až 4 body,
// 0 and 5 or more bodů.
struct CzechNoun {
    const char* one;
    const char* few;
    const char* many;
};

namespace Texts {

// Settings and files.
inline constexpr UserText kDefaultHeader{
    "Měřeno přístrojem SOUTH NTS-350\r\nZakázka:             ,  Měřil:                 ,Datum:"};  // 32795
inline constexpr UserText kFileExists{"Soubor %s existuje.\n\nChcete ho přepsat?"};                // 32786
// The filters of the file requests (FileChooser), in its form: "name|pattern|...||".
inline constexpr UserText kMeasuredDataFilter{
    "Soubor měřených dat (*.sdt)|*.sdt|Všechny soubory (*.*)|*.*||"};  // 32793
inline constexpr UserText kDxfSourceFilter{
    "Soubor měřených dat (*.sdt)|*.sdt|Textový soubor bodů XYZ (*.txt)|*.txt||"};  // 32804
inline constexpr UserText kAllFilesFilter{"Všechny soubory (*.*)|*.*||"};
// The profile could not be written at shutdown or when the communication settings
// were confirmed ("%1" is its file).
inline constexpr UserText kSettingsNotSaved{
    "Nastavení se nepodařilo uložit do souboru %1.\nPři příštím spuštění programu platí dříve uložené nastavení."};
// A profile value outside its setting's range, not used: "%1" as stored, "%2" its
// name, "%3" the range, "%4" the default in use.
inline constexpr UserText kProfileValueOutOfRange{"Hodnota %1 pro %2 v profilu je mimo rozsah %3; platí výchozí %4."};
// After those sentences on the command line ("%1" the profile's file).
inline constexpr UserText kProfileValueCliAdvice{
    "Profil: %1. Jinou hodnotu nastavte v programu Tarvo (Parametry konverze, Parametry komunikace) nebo pro "
    "jedno spuštění volbou --set NÁZEV=HODNOTA."};

// File errors, reported naming the file ("%1").
inline constexpr UserText kFileNotFound{"Soubor %1 nebyl nalezen."};
inline constexpr UserText kFileAccessDenied{"Přístup k souboru %1 byl odepřen."};
inline constexpr UserText kFileReadError{"Při čtení souboru %1 došlo k neočekávané chybě."};
inline constexpr UserText kFileWriteError{"Při zápisu do souboru %1 došlo k neočekávané chybě."};
inline constexpr UserText kFileDiskFull{"Při zápisu do souboru %1 došlo místo na disku."};
inline constexpr UserText kFileCreateError{"Soubor %1 nelze vytvořit."};
inline constexpr UserText kFileBadPath{"Cesta %1 je neplatná."};
inline constexpr UserText kFileTooLarge{"Soubor %1 je příliš velký, nevejde se do paměti počítače."};

// A run's outputs are one set: when one cannot be written, none replaces its old
// file. Said after the file's error, in the same message ("%1" the file names).
inline constexpr UserText kOutputNotWritten{"Soubor %1 nebyl zapsán."};
inline constexpr UserText kOutputsNotWritten{"Nebyl zapsán žádný z výstupů (%1)."};
inline constexpr UserText kOldFileKept{"Dřívější soubor %1 zůstal beze změny."};
inline constexpr UserText kOldFilesKept{"Dřívější soubory %1 zůstaly beze změny."};
inline constexpr UserText kFreeDiskSpace{"Uvolněte místo na disku a zkuste to znovu."};
inline constexpr UserText kCheckFolder{"Ověřte, že do složky lze zapisovat (nebo zvolte jinou), a zkuste to znovu."};
// A rename failed after others of the set had taken their place (rare).
inline constexpr UserText kOutputsPartlyReplaced{"Nahrazeny byly jen soubory %1; ostatní zůstaly beze změny."};
// An output that is one of the run's inputs, under its own or another name ("%1"
// the output, "%2" the input).
inline constexpr UserText kOutputIsInput{
    "Výstup %1 je tentýž soubor jako vstup %2 a přepsal by ho.\nNic nebylo zapsáno, vstup zůstal beze změny. Dejte "
    "vstupu jiný název nebo příponu a zkuste to znovu."};

// Conversion of measured data.
inline constexpr UserText kWarnHeight{"Upozornění!\nImportována výška stanoviska/cíle větší než 5 m!"};  // 32796
// Lengths and angles the data gave in feet or degrees were converted; "%1" is
// the foot used (kFoot, kUsSurveyFoot).
inline constexpr UserText kWarnFeet{
    "Upozornění!\nImportované délky nebyly v metrech, ale ve stopách (feet): byly převedeny na metry (%1)."};  // 32797
inline constexpr UserText kWarnAngles{
    "Upozornění!\nImportované úhly nebyly v gradech, ale ve stupních: byly převedeny na grady."};  // 32798
inline constexpr UserText kFoot{"mezinárodní stopa = 0,3048 m"};
inline constexpr UserText kUsSurveyFoot{"americká měřická stopa = 1200/3937 m"};
inline constexpr UserText kAskCorrections{"Použít současné nastavení korekcí?"};
inline constexpr UserText kAskMillion{"Přičíst k souřadnicím milión?"};
inline constexpr UserText kFieldBookPreambleFull{"9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n2\r\n\r\n"};   // 32850
inline constexpr UserText kFieldBookPreambleTools{"9999\r\n999999999\r\n0\r\n1\r\n3\r\n0\r\n0\r\n\r\n"};  // 32851
// A file whose data do not fit in the memory ("%1" is the file).
inline constexpr UserText kTooLargeForMemory{
    "Soubor %1 je příliš velký, jeho data se nevejdou do paměti počítače.\nPřevod neproběhl."};
inline constexpr UserText kBadMeanHeight{
    "Průměrná nadmořská výška %s m je mimo rozsah, korekci délek z ní nelze "
    "spočítat.\nOpravte ji v parametrech konverze, převod neproběhl."};

// Serial link, reception and upload.
// A port that does not open: the headline, then on its own line why (one of
// the reasons below, "%1" the device), then what the user can do about it.
inline constexpr UserText kBadCommSettings{"Špatné nastavení parametrů komunikace!"};
inline constexpr UserText kReceptionPortAdvice{"Změňte parametry v dialogu, jinak nebude příjem dat funkční!"};
inline constexpr UserText kSendingPortAdvice{"Změňte parametry v dialogu, jinak nebude odesílání dat funkční!"};
inline constexpr UserText kCliPortAdvice{
    "Zvolte port volbou --port ZAŘÍZENÍ nebo parametry linky volbou --set NÁZEV=HODNOTA."};
inline constexpr UserText kPortNotChosen{"Některý parametr komunikace není zvolen nebo není v nabídce."};
inline constexpr UserText kPortMissing{"Zařízení %1 neexistuje (převodník není připojen nebo má jiný název)."};
inline constexpr UserText kPortMissingWindows{
    "Port %1 v počítači neexistuje (převodník není připojen nebo dostal jiné číslo portu, viz Správce "
    "zařízení)."};
// "%2" is the group of serial devices that owns the device.
inline constexpr UserText kPortNoAccess{
    "K zařízení %1 nemáte přístup. Přidejte svůj účet do skupiny %2 (příkazem sudo adduser $USER %2) a "
    "znovu se přihlaste."};
// The device belongs to a group that grants more than serial ports (or to none known).
inline constexpr UserText kPortNoAccessAskAdministrator{
    "K zařízení %1 nemáte přístup. Požádejte správce počítače, aby vám přístup k tomuto sériovému portu povolil."};
inline constexpr UserText kPortBusy{"Port %1 právě používá jiný program."};
inline constexpr UserText kPortNotSerial{"%1 není sériový port."};
inline constexpr UserText kPortLineRefused{
    "Ovladač portu %1 odmítl parametry linky (rychlost, datové bity, parita nebo stop bity)."};
inline constexpr UserText kPortReaderFailed{"Čtení z portu %1 se nepodařilo spustit."};
// "%2" is the system's error number.
inline constexpr UserText kPortSystemError{"Port %1 nelze otevřít (chyba systému %2)."};
inline constexpr UserText kWaitingForData{"Čekám na data ..."};
// "%1" is the count of bytes with its noun, "%2" the participle that agrees with it:
// "Přijímám data ... 2 bajty přijaty".
inline constexpr UserText kReceivingData{"Přijímám data ... %1 %2"};
// tarvo-cli receive at the end: «4352 bajtů přijato do zakazka.sdt.»
inline constexpr UserText kReceivedInto{"%1 %2 do %3."};
inline constexpr UserText kNoValidPoints{"Nebyly nalezeny žádné platné body!"};
inline constexpr UserText kNoValidCodes{"Nebyly nalezeny žádné platné kódy!"};
inline constexpr UserText kSetReceiveModePoints{
    "Nastavte totální stanici do režimu příjmu souřadnic bodů ...\n\nPoté stiskněte OK."};
inline constexpr UserText kSetReceiveModeCodes{
    "Nastavte totální stanici do režimu příjmu kódů ...\n\nPoté stiskněte OK."};
// "%1" is the participle that agrees with the count, "%2" the count with its noun:
// "Odeslány 4 body ...".
inline constexpr UserText kSentSummary{"%1 %2 ..."};
// The sent-data log: each entry as the instrument keeps it (name cut, coordinates
// without whole millions, code number and text as sent), and after it what the
// list held where that differs.
inline constexpr UserText kSentPointsHeading{
    "Odeslaná data, jak je uloží přístroj (v závorce hodnoty ze seznamu, které se liší):\r\n"
    "ID                Y   \t      X   \t      Z\r\n--------------------------------------------------\r\n"};
inline constexpr UserText kSentCodesHeading{
    "Odeslaná data, jak je uloží přístroj (v závorce hodnoty ze seznamu, které se liší):\r\n"
    "Kód\tText\r\n--------------------------------------------------\r\n"};
inline constexpr UserText kSentListHeld{"(v seznamu %1)"};
inline constexpr UserText kSentListName{"název %1"};
inline constexpr UserText kSentListCodeNumber{"kód %1"};
inline constexpr UserText kSentListCodeText{"text %1"};
// A write to the instrument failed; "%s" is the reason.
inline constexpr UserText kUploadFailed{"Přenos dat selhal!\n%s"};
inline constexpr UserText kSerialWriteFailed{
    "Data se nepodařilo odeslat sériovým portem (port neodpovídá nebo byl odpojen)."};
// Why a reception ended with a transfer that may be broken: the first line of the
// message, followed by where the bytes are.
inline constexpr UserText kConnectionLostHeadline{"Spojení s přístrojem bylo přerušeno!"};
inline constexpr UserText kReceptionStoppedHeadline{"Příjem byl ukončen dříve, než přenos skončil."};
inline constexpr UserText kNoEndRecordHeadline{
    "Přístroj přestal vysílat před koncovým záznamem přenosu: data nejsou úplná."};
// A broken transfer kept in the target ("%1" the count of its bytes, "%2" the target).
inline constexpr UserText kBrokenTransferInTarget{
    "Přenos nemusí být úplný; přijatá data (%1) jsou uložena v souboru %2."};
// A broken transfer beside an older file ("%1" the count, "%2" where the bytes are,
// "%3" the older file); also after Storno.
inline constexpr UserText kBrokenTransferBeside{
    "Přijatá data (%1) zůstala uložena v souboru %2; soubor %3 zůstal beze změny."};
// After the kept bytes' message: what becomes of them.
inline constexpr UserText kLeftoverOfferedNextTime{"Příští příjem do této složky je nabídne k uložení."};
inline constexpr UserText kConnectionLostNoData{"Spojení s přístrojem bylo přerušeno!\nŽádná data nebyla přijata."};
// What a reception that could not finish its file kept, and where ("%1" the count).
inline constexpr UserText kReceivedDataKeptIn{"Přijatá data (%1) zůstala uložena v souboru %2."};
// The port saw line errors during a reception; "%1" lists the kinds with their counts.
inline constexpr UserText kLineErrors{
    "Upozornění!\nSériový port během příjmu zaznamenal chyby přenosu: %1.\nPřijatá data nemusí být správná "
    "(rušení nebo špatný kontakt kabelu); doporučujeme přenos opakovat."};
inline constexpr UserText kLineErrorParity{"chyba parity %1×"};
inline constexpr UserText kLineErrorFraming{"chyba rámce %1×"};
inline constexpr UserText kLineErrorOverrun{"přetečení vstupu %1×"};
inline constexpr UserText kLineErrorMarked{"chyba parity nebo rámce %1×"};
// A temporary file of a reception that never ended ("%2" its size).
inline constexpr UserText kAskKeepLeftover{
    "Ve složce zůstal soubor %1 s daty z příjmu, který nebyl dokončen (%2).\n\nChcete data uložit jako soubor "
    "měřených dat? Jinak soubor zůstane, jak je."};
// A leftover the user wanted to keep under the name the new reception is about to fill.
inline constexpr UserText kLeftoverNotOverTarget{
    "Data nelze uložit jako %1: do tohoto souboru se uloží právě zahajovaný příjem.\nSoubor %2 zůstal, jak byl."};
// After a lost connection; "%3" is empty or kPartialReplaces.
inline constexpr UserText kAskConvertPartial{
    "Přenos dat z přístroje byl přerušen, soubor %1 obsahuje jen to, co přišlo: %2.%3\n\nPřevést přesto neúplná "
    "data?"};
inline constexpr UserText kPartialReplaces{"\nPřevod nahradí existující soubory %1."};

// The check before an upload; "%1", "%2"... are filled in that order.
inline constexpr UserText kFindingsHeading{"Seznam nepřijde do přístroje přesně tak, jak je napsán:"};
inline constexpr UserText kFindingLine{"• %1"};
inline constexpr UserText kFindingSameName{"Body %1 budou mít v přístroji stejný název %2."};
inline constexpr UserText kFindingCoordinate{"Bod %1: %2 %3 přijde do přístroje jako %4."};
inline constexpr UserText kFindingCodeNotSent{"Řádek %1 „%2“ se neodešle: číslo kódu %3 není v rozsahu 1 až 50."};
inline constexpr UserText kFindingNulByte{"Řádek %1: za „%2“ je nulový bajt, zbytek řádku se neodešle."};
inline constexpr UserText kFindingForeignInName{
    "Bod %2 (řádek %1): Windows-1250 nemá %3, název přijde do přístroje jako %4."};
inline constexpr UserText kFindingForeignInCodeText{
    "Kód %2 (řádek %1): Windows-1250 nemá %3, text přijde do přístroje jako „%4“."};
inline constexpr UserText kForeignCharacter{"znak %1"};
inline constexpr UserText kForeignCharacters{"znaky %1"};
inline constexpr UserText kFindingPointLineNotSent{
    "Řádek %1 „%2“ se neodešle: nejsou v něm název bodu a dvě souřadnice."};
inline constexpr UserText kFindingCodeLineNotSent{"Řádek %1 „%2“ se neodešle: chybí v něm čárka za číslem kódu."};
inline constexpr UserText kFindingCodeNumberMissing{"Řádek %1 „%2“ se neodešle: před čárkou není číslo kódu."};
inline constexpr UserText kFindingCommaNotRead{
    "Bod %2 (řádek %1): výška %3 přijde do přístroje jako %4; napište ji s desetinnou tečkou."};
inline constexpr UserText kFindingCodeRenumbered{
    "Řádek %1 „%2“: číslo kódu %3 není v rozsahu 1 až 50, odešle se jako kód %4."};
inline constexpr UserText kFindingCodeRepeated{"Kód %1 je v seznamu vícekrát: %2."};
inline constexpr UserText kFindingNameCut{"Název bodu %1 se zkrátí na %2."};
inline constexpr UserText kFindingCodeTextCut{"Text kódu %1 „%2“ se zkrátí na „%3“."};
inline constexpr UserText kFindingsMore{"… a další, celkem %1 zjištění."};
inline constexpr UserText kQuoted{"„%1“"};
inline constexpr UserText kShortened{"%1…"};
inline constexpr UserText kUnnamedPoint{"bez názvu"};
inline constexpr UserText kAskSendAnyway{"Odeslat přesto?"};
inline constexpr UserText kListTooLarge{"Seznam je příliš velký, nevejde se do paměti počítače. Nic nebylo odesláno."};

// The check of an NTS-350 transfer's blocks; byte offsets from the start of the file.
inline constexpr UserText kTransferFindingsHeading{"Upozornění!\nPřenos dat z přístroje neprošel kontrolou bloků:"};
inline constexpr UserText kBlockChecksum{"blok %1 (bajty %2–%3): nesouhlasí kontrolní součet"};
inline constexpr UserText kBlockLost{"blok %1 (bajty %2–%3): má číslo %4 místo %5, předchozí blok chybí"};
inline constexpr UserText kBlockRepeated{"blok %1 (bajty %2–%3): má číslo %4 místo %5, blok se opakuje"};
inline constexpr UserText kBlockWrongLength{"blok %1 (bajty %2–%3): chybná délka bloku"};
inline constexpr UserText kBlockTrailingText{"bajty %1–%2 za posledním blokem nepatří do žádného bloku"};
inline constexpr UserText kBlockNoEtx{"blok %1 (bajty %2–%3): chybí konec bloku (ETX)"};
inline constexpr UserText kBlockNoStx{"blok %1 (bajty %2–%3): chybí začátek bloku (STX)"};
inline constexpr UserText kBlockStrayEtx{"blok %1 (bajty %2–%3): blok je přerušen znakem ETX navíc"};
inline constexpr UserText kBlockStrayStx{"blok %1 (bajty %2–%3): blok je přerušen znakem STX navíc"};
inline constexpr UserText kBlockTextBetween{"bajty %1–%2 mezi bloky nepatří do žádného bloku"};
inline constexpr UserText kBlockTextBefore{"bajty %1–%2 před prvním blokem nepatří do žádného bloku"};
// A transfer that began with the preambles and ended without its end record: "%1"
// its last byte, "%2" the last block received whole and "%3" where it begins.
inline constexpr UserText kBlockCut{
    "přenos skončil bez závěrečného záznamu (STX EOT) po bajtu %1: spojení se zřejmě přerušilo a konec dat "
    "chybí; poslední celý blok je %2 (od bajtu %3)"};
// After a finding, the records whose text lies in its stretch: one, or the first and the last.
inline constexpr UserText kFindingRecord{" – bod %1"};
inline constexpr UserText kFindingRecords{" – body %1–%2"};
inline constexpr UserText kRepeatTransfer{
    "Převod proběhne, data ale nemusí být úplná ani správná. Doporučujeme přenos z přístroje opakovat."};

// The form of a measured-data file's text: that of the NTS-350 («_» records) or the
// NTS-660 (keyword lines, which an NTS-350 can also write). The setting is the
// instrument's ("DeviceType"); what the data show is their form.
inline constexpr UserText kNts350{"NTS-350"};
inline constexpr UserText kNts660{"NTS-660"};
inline constexpr UserText kUnknownDevice{"neznámý přístroj (DeviceType=%1)"};
inline constexpr UserText kAskDeviceMismatch{
    "Soubor %1 obsahuje podle všeho data ve tvaru %2, v parametrech konverze je ale nastaven přístroj "
    "%3.\n\nPřevést ho tentokrát jako data ve tvaru %2? Nastavení přístroje se nezmění."};
inline constexpr UserText kDeviceRecognised{"Rozpoznaný tvar dat: %1 (DeviceType=%2)."};
inline constexpr UserText kDeviceNotRecognised{
    "Tvar dat se rozpoznat nepodařilo, data se převedou ve tvaru %1 (DeviceType=%2)."};

// What a conversion read and wrote.
inline constexpr UserText kReceipt{
    "Rozpoznáno: stanoviska %1, orientace %2, záměry s délkou %3, záměry jen úhly %4, body se souřadnicemi %5, "
    "kódy %6. Přeskočeno: bajty mimo záznamy %7, nedokončené záznamy %8%9."};
// Keyword lines of the NTS-660 form that carry no record, as "%9" of the receipt:
// each keyword with its count ("XYZ 3, JOB 1"), then the lines of the rest.
inline constexpr UserText kReceiptUnconverted{", nepřevedené řádky: %1"};
inline constexpr UserText kReceiptOtherKeywords{" a ještě %1 s jinými klíčovými slovy"};
// Units converted or not known, after the counts: "%1" the records with their
// noun, "%2" the foot; the unknown units are listed as "%1" of kReceiptUnknownUnits.
inline constexpr UserText kReceiptFeet{"Délky ve stopách převedeny na metry (%2): %1."};
inline constexpr UserText kReceiptDegrees{"Úhly ve stupních převedeny na grady: %1."};
inline constexpr UserText kReceiptUnknownUnits{"Nepřevedeno pro neznámé jednotky: %1."};
inline constexpr UserText kUnknownAngleUnit{"úhly v jednotkách „%1“ %2"};
inline constexpr UserText kUnknownLengthUnit{"délky v jednotkách „%1“ %2"};
// Keyword text: the coordinate lines read for the stations ("%1") and their
// backsight points ("%2"); with "StationXYZ" the stations written into ".asc".
inline constexpr UserText kReceiptCoordinateLines{"Souřadnice z řádků XYZ: stanoviska %1, orientace %2."};
inline constexpr UserText kReceiptStationXyz{"Do seznamu souřadnic zapsána stanoviska: %1."};
// Keyword text whose "SCALE" line gives the instrument's own factor ("%1") while
// the S-JTSK reduction scales the distances too.
inline constexpr UserText kReceiptInstrumentScale{
    "Upozornění: řádek SCALE uvádí měřítko %1, přístroj mohl délky už přepočítat; redukce do S-JTSK je "
    "použita znovu."};
inline constexpr UserText kReceiptBlockFindings{"Kontrola bloků: %1."};
// What the field-book check found: "%1" the wrong findings, "%2" the suspicious ones.
inline constexpr UserText kReceiptCheck{"Kontrola zápisníku: %1 chybné, %2 podezřelé."};
inline constexpr UserText kReceiptCheckClean{"Kontrola zápisníku: bez zjištění."};
// A check on its own of data without stations and sightings; "%1" says why, as
// after kNothingWritten.
inline constexpr UserText kNothingChecked{"Kontrola zápisníku neproběhla: %1"};
inline constexpr UserText kReceiptWritten{"Zapsáno: %1."};
inline constexpr UserText kNothingWritten{"Nebyl zapsán žádný soubor: %1"};
inline constexpr UserText kNothingRecognised{"v datech není žádný záznam ve tvaru %1."};
inline constexpr UserText kNoStationsOrSightings{"data neobsahují žádné stanovisko ani záměru."};
inline constexpr UserText kRunStopped{"převod byl zastaven."};
inline constexpr UserText kUnknownUnitsStop{"data obsahují jednotky, které program nezná (viz výše)."};
inline constexpr UserText kRunFailed{"převod skončil chybou (viz předchozí hlášení)."};

// DXF export; "%1" is the drawing's file name.
inline constexpr UserText kNoXyzPoints{"Nenalezeny žádné body XYZ !"};
inline constexpr UserText kReceiptDrawn{"Vykresleno: %1."};
inline constexpr UserText kDrawingNoPoints{"nenalezeny žádné body XYZ."};
inline constexpr UserText kDrawingRefused{"výkres %1 už existuje a jeho přepsání bylo odmítnuto."};
inline constexpr UserText kDrawingFailed{"výkres %1 se nepodařilo zapsat (viz předchozí hlášení)."};
// A drawing in EPSG:5514 axes with points outside the S-JTSK area; "%6" is the cause.
inline constexpr UserText kDrawingOutsideSjtsk{
    "Upozornění!\nVýkres je v osách EPSG:5514, ale mimo oblast S-JTSK (Y 400 000 až 950 000 m, X 900 000 až "
    "1 400 000 m) leží %1, např. bod %2: Y %3, X %4.\n%5"};
inline constexpr UserText kOutsideMillionMeasured{
    "Souřadnicím X nejspíš chybí milión: NTS-350 ukládá jen posledních šest číslic X. Na otázku „Přičíst k "
    "souřadnicím milión?“ odpovězte Ano."};
inline constexpr UserText kOutsideMillionList{"Souřadnicím X v seznamu nejspíš chybí milión."};
inline constexpr UserText kOutsideSwapped{
    "Y a X jsou nejspíš navzájem zaměněné (řádek textového seznamu je název, Y, X)."};
// Points of a text list whose names or codes hold characters Windows-1250 lacks.
inline constexpr UserText kDrawingForeignHeading{
    "Upozornění!\nWindows-1250 nemá některé znaky textového seznamu, výkres je má jako „?“:"};
inline constexpr UserText kDrawingForeignPoint{"• bod %1 (řádek %2): %3"};
inline constexpr UserText kDrawingForeignMore{"… celkem %1 s takovými znaky."};
inline constexpr UserText kOutsideNotSjtsk{"Souřadnice nejspíš nejsou v S-JTSK, ale v jiné soustavě."};

// Nouns after a count.
inline constexpr CzechNoun kPointsNoun{"bod", "body", "bodů"};
inline constexpr CzechNoun kCodesNoun{"kód", "kódy", "kódů"};
inline constexpr CzechNoun kBytesNoun{"bajt", "bajty", "bajtů"};
inline constexpr CzechNoun kErrorsNoun{"chyba", "chyby", "chyb"};
inline constexpr CzechNoun kLinesNoun{"řádek", "řádky", "řádků"};
inline constexpr CzechNoun kRecordsNoun{"záznam", "záznamy", "záznamů"};
// Participles that agree with a count of masculine nouns (bajt, bod, kód).
inline constexpr CzechNoun kReceivedParticiple{"přijat", "přijaty", "přijato"};
inline constexpr CzechNoun kSentParticiple{"Odeslán", "Odeslány", "Odesláno"};

}  // namespace Texts

// The Windows-1250 bytes of a user text.
QByteArray Text(const UserText& text);

// The text with "%1".."%9" replaced by the arguments in one pass: an argument that
// itself holds "%2" stays as it is.
QByteArray TextFilled(const UserText& pattern, std::initializer_list<QByteArray> arguments);

// "4 body": the count and the noun in the form the count asks for, in
// Windows-1250; PluralForm gives the noun alone.
QByteArray Counted(qint64 count, const CzechNoun& noun);
QByteArray PluralForm(qint64 count, const CzechNoun& noun);

// The text with its first "%s" (or "%1") replaced by argument, byte for byte; no
// printf, so a "%" in a path stays as it is.
QByteArray TextWith(const UserText& text, const QByteArray& argument);
