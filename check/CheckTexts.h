#pragma once
// The Czech texts of the field-book check: its protocol and its CSV form. UTF-8
// sources; Text() gives their Windows-1250 bytes.

#include "base/Texts.h"

namespace CheckTexts {

// The summary atop the protocol; "%1" lists the counts: «1 chybné zjištění, 2 podezřelá zjištění».
inline constexpr UserText kSummary{"Kontrola zápisníku: %1"};
inline constexpr UserText kSummaryClean{"Kontrola zápisníku: bez zjištění"};
inline constexpr CzechNoun kWrongAdjective{"chybné", "chybná", "chybných"};
inline constexpr CzechNoun kSuspiciousAdjective{"podezřelé", "podezřelá", "podezřelých"};
inline constexpr CzechNoun kFindingNoun{"zjištění", "zjištění", "zjištění"};

// The levels: as the CSV form writes them, and as the protocol marks a finding.
inline constexpr UserText kLevelWrong{"chybné"};
inline constexpr UserText kLevelSuspicious{"podezřelé"};
inline constexpr UserText kMarkWrong{"CHYBNÉ"};
inline constexpr UserText kMarkSuspicious{"PODEZŘELÉ"};

// The instrument's errors: "%1" the count of pairs with its noun, "%2" and "%3" in gon.
inline constexpr UserText kInstrumentErrors{
    "Chyby přístroje (průměr z %1 v obou polohách dalekohledu): kolimační chyba %2 gon, indexová chyba %3 gon."};
inline constexpr UserText kInstrumentErrorsTakenOff{"Polohy a výšky se porovnávají bez nich."};
inline constexpr CzechNoun kPairNoun{"dvojice záměr", "dvojic záměr", "dvojic záměr"};
inline constexpr UserText kNoFacePairs{"Záměry v obou polohách dalekohledu nejsou, chyby přístroje nejsou známy."};
// The limits, a line each; "%1" is «0.020 / 0.050 m».
inline constexpr UserText kLimits{"Meze (podezřelé / chybné):"};
inline constexpr UserText kLimitPosition{"poloha podél a napříč záměry %1"};
inline constexpr UserText kLimitHeight{"výška %1"};
inline constexpr UserText kLimitLineDistance{"vodorovná délka tam a zpět nebo proti souřadnicím %1"};
inline constexpr UserText kLimitLineHeight{"převýšení tam a zpět %1"};
inline constexpr UserText kLimitFaces{"kolimační a indexová chyba dvojice proti průměru %1"};
inline constexpr UserText kLimitRange{"šikmá délka nejvýše %1 m"};
inline constexpr UserText kCurvature{
    "Převýšení tam a zpět jsou opravena o zakřivení Země a refrakci (k = 0.13, R = 6 381 000 m)."};
inline constexpr UserText kRecordNumbers{"Záznamy jsou číslovány v pořadí přijatých dat od 1."};

inline constexpr UserText kOutsideStations{"Před prvním stanoviskem"};
// "%1" the station's name, "%2" its record number.
inline constexpr UserText kStation{"Stanovisko %1 (záznam %2)"};
inline constexpr UserText kNothingCompared{"nic k porovnání"};

// What was compared: "%1" the target, "%2" the count of sightings, "%3" the face
// («I.» or «II.»), "%4" the differences.
inline constexpr UserText kRepeat{"opakovaně %1 (%2×, %3 poloha): %4"};
inline constexpr UserText kOrientation{"orientace %1 (%2×, %3 poloha): %4"};
// "%1" the target, "%2" collimation and index error of the pair, "%3" the differences.
inline constexpr UserText kFaces{"obě polohy %1: %2; %3"};
inline constexpr UserText kPairErrors{"kolimace %1 gon, index %2 gon"};
// "%1" the other station, "%2" and "%3" the distances, "%4" their difference, "%5" the heights' sum.
inline constexpr UserText kBothWays{"tam a zpět %1: délka %2 / %3 m (rozdíl %4 m), součet převýšení %5 m"};
// "%1" the backsight point, "%2" the measured distance, "%3" the coordinates', "%4" their difference.
inline constexpr UserText kCoordinates{"orientace %1: délka měřená %2 m, ze souřadnic %3 m (rozdíl %4 m)"};
inline constexpr UserText kAlong{"podél %1 m"};
inline constexpr UserText kAcross{"napříč %1 m"};
inline constexpr UserText kHeight{"výška %1 m"};
// "%1" in gon, "%2" in metres at the orientation's distance.
inline constexpr UserText kSpread{"rozptyl %1 gon = %2 m"};
inline constexpr UserText kSpreadGonOnly{"rozptyl %1 gon"};
inline constexpr UserText kNoDistance{"bez délky, neporovnáno"};
inline constexpr UserText kFirstFace{"I."};
inline constexpr UserText kSecondFace{"II."};

// A finding: "%1" the level's mark, "%2" the check, "%3" the points, "%4" the
// value with its limit, "%5" the records.
inline constexpr UserText kFinding{"%1: %2, %3%4; %5"};
// "%1" the value, "%2" the limit, "%3" their unit.
inline constexpr UserText kFindingValue{": %1 %3 (mez %2 %3)"};
inline constexpr UserText kFindingLine{" (řádek XYZ %1)"};
inline constexpr UserText kRecordsOne{"záznam %1"};
inline constexpr UserText kRecordsMany{"záznamy %1"};

// The checks and what they measure, as a finding names them.
inline constexpr UserText kCheckRepeat{"opakovaná záměra"};
inline constexpr UserText kCheckFaces{"obě polohy dalekohledu"};
inline constexpr UserText kCheckBothWays{"délka tam a zpět"};
inline constexpr UserText kCheckOrientation{"opakovaná orientace"};
inline constexpr UserText kCheckCoordinates{"souřadnice stanovisek"};
inline constexpr UserText kCheckValues{"nemožná hodnota"};
inline constexpr UserText kQuantityAlong{"poloha podél záměry"};
inline constexpr UserText kQuantityAcross{"poloha napříč záměrou"};
inline constexpr UserText kQuantityHeight{"výška"};
inline constexpr UserText kQuantitySpread{"rozptyl orientace"};
inline constexpr UserText kQuantityCollimation{"kolimační chyba proti průměru"};
inline constexpr UserText kQuantityIndex{"indexová chyba proti průměru"};
inline constexpr UserText kQuantityLineDistance{"rozdíl vodorovných délek"};
inline constexpr UserText kQuantityLineHeight{"součet převýšení"};
inline constexpr UserText kQuantityCoordinateDistance{"délka proti souřadnicím"};
inline constexpr UserText kQuantitySharedCoordinates{"stanoviska se stejným řádkem XYZ"};
inline constexpr UserText kQuantityZenith{"zenitový úhel mimo 0–400 gon"};
inline constexpr UserText kQuantityDirection{"vodorovný směr mimo 0–400 gon"};
inline constexpr UserText kQuantitySlopeDistance{"šikmá délka nulová nebo mimo dosah"};

// The CSV form's header line.
inline constexpr UserText kCsvHeader{"úroveň;stanovisko;body;kontrola;hodnota;mez"};

}  // namespace CheckTexts
