#pragma once
// Everything the system remembers between runs, as held in memory: the option word
// "Flag", the instrument type, the DXF scale and the drawing's axes, layers and
// heights, the job's S-JTSK averages, the file header, the orientation marker and
// the limits of the field-book check. Texts are Windows-1250 bytes. The five serial values are kept apart, in
// SerialSettings below, which the serial link is given.

#include "base/CheckTolerances.h"

#include <QByteArray>

#include <QtGlobal>

// Bits of "Flag", and the word's default and meaningful part. 0x400 and above mean
// nothing.
inline constexpr quint16 FLAG_SWAP_ANGLES = 0x001;        // vertical and horizontal angles swapped
inline constexpr quint16 FLAG_WARN_UNITS = 0x002;         // warn of feet or angles not in gon
inline constexpr quint16 FLAG_WARN_HEIGHTS = 0x004;       // warn of heights above 5 m
inline constexpr quint16 FLAG_SHOW_OUTPUT = 0x008;        // show each produced file
inline constexpr quint16 FLAG_ASK_OVERWRITE = 0x010;      // ask before replacing a file
inline constexpr quint16 FLAG_KEEP_200 = 0x020;           // keep the prepared data as ".200"
inline constexpr quint16 FLAG_USE_CURRENT = 0x040;        // tools use the current file
inline constexpr quint16 FLAG_16_COLOUR_TOOLBAR = 0x080;  // 16-colour toolbar images
inline constexpr quint16 FLAG_SWAP_XY = 0x100;            // X and Y swapped in coordinate output
inline constexpr quint16 FLAG_USE_HEADER = 0x200;         // header text atop field book and coordinates
inline constexpr quint16 FLAG_MEANINGFUL_BITS = 0x3FF;

// A new profile warns of feet, angles not in gon and tall heights, shows each
// produced file and asks before replacing one (30).
inline constexpr quint16 FLAG_DEFAULT = FLAG_WARN_UNITS | FLAG_WARN_HEIGHTS | FLAG_SHOW_OUTPUT | FLAG_ASK_OVERWRITE;

// The index of the DXF scale "1:1"; a new profile draws at it.
inline constexpr quint8 kDxfScaleOneToOne = 4;
// The count of the DXF scales.
inline constexpr quint8 kDxfScaleCount = 9;

// The instrument whose form the measured data are in ("DeviceType"). The profile's
// load and --set take no other value; given one, the parser reads nothing.
enum class DeviceType : quint16 { Nts350 = 0, Nts660 = 1 };

// The number the profile and the command line store for an instrument.
constexpr quint16 StoredValue(DeviceType type) { return static_cast<quint16>(type); }

struct ConversionSettings {
    // Process-wide values.
    quint16 flag = FLAG_DEFAULT;
    DeviceType deviceType = DeviceType::Nts350;  // "DeviceType": the NTS-350 or the NTS-660
    quint8 dxfRatio = kDxfScaleOneToOne;         // index into the DXF scale list
    bool dxfEpsgAxes = false;   // "DXF_Axes" 1: drawing x = −Y, y = −X (EPSG:5514); 0: x = Y, y = X
    bool dxfLayers = false;     // "DXF_Layers" 1: a layer per point code; 0: everything on layer 0
    bool dxf3d = false;         // "DXF_3D" 1: the points' heights as z; 0: z = 0
    bool usSurveyFoot = false;  // "UsSurveyFoot" 1: lengths in feet are US survey feet; 0: international feet
    bool stationXyz = false;    // "StationXYZ" 1: the stations' "XYZ" lines of keyword text into ".asc"

    // Document values.
    double jobAverageXMetres = 1001000.0;   // the job's average S-JTSK X ("JX")
    double jobAverageYMetres = 680000.0;    // its average S-JTSK Y ("JY")
    double jobAverageHeightMetres = 320.0;  // its average height above sea level ("JH")
    QByteArray head;                        // header text, lines separated by CR LF
    QByteArray orMarker = "#";
    CheckTolerances checkTolerances;  // "CHK_Position" ... "CHK_Range"

    ConversionSettings();

    bool Has(quint16 bit) const { return (flag & bit) != 0; }
};

// The serial line as stored: the port number (COM1..COM255; the dialog offers 1..9
// and the ports present above them) and indexes into the speed, parity and
// stop-bit tables of the serial link. A value that fits a byte but no table is kept
// as stored (the link refuses to open with it); one beyond a byte is not loaded.
struct SerialSettings {
    quint8 commPort = 1;
    quint8 baudRate = 5;  // 4800 bit/s
    quint8 byteSize = 8;
    quint8 parity = 0;    // none
    quint8 stopBits = 0;  // one
};
