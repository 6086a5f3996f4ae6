#pragma once
// The preparation of an NTS-350 transfer for the parser: the block framing of the
// serial transfer is removed (and checked, see TransferCheck.h), then the sign
// conventions of the record syntax are normalised so that sightings carry their
// zenith angle and direction unsigned. Both passes are linear in the data and
// work in place; neither fails on malformed data. NTS-660 data need neither.

#include "convert/TransferCheck.h"

#include <QByteArray>

// Prepares the bytes of a measured-data file in place and says what the check of
// its blocks found.
TransferFindings PrepareRawData(QByteArray& bytes);

// The normalised text: «m+», «f+» and «++» lose their second "+"; in a slope
// sighting «?...m+Z+...+D...g» and an angles sighting «<+Z++D+» the zenith angle
// and direction lose their own "+". A "?" or "<" not followed by its letters and
// "+" signs is copied as it stands.
QByteArray NormaliseSigns(QByteArray bytes);
