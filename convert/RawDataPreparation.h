#pragma once
// Preparation of NTS-350 measured data before parsing: the block framing of the
// serial transfer is removed, then the sign conventions of the record syntax are
// normalised so that sightings carry their zenith angle and direction unsigned.
// Both passes are linear in the data; neither fails on malformed data.

#include "convert/TransferCheck.h"

#include <QByteArray>

// Removes STX, CR and LF bytes, and each ETX together with the (up to) four bytes
// before it: the block digit and the three checksum digits. Those are checked on
// the way (see TransferCheck.h); the findings never change what is removed.
TransferFindings RemoveFraming(QByteArray& bytes);

// The normalised text: «m+», «f+» and «++» lose their second "+"; in a slope
// sighting «?...m+Z+...+D...g» and an angles sighting «<+Z++D+» the zenith angle
// and direction lose their own "+". A "?" or "<" not followed by its letters and
// "+" signs is copied as it stands.
QByteArray NormaliseSigns(QByteArray bytes);
