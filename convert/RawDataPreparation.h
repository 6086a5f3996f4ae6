#pragma once
// The preparation of an NTS-350 transfer for the parser: the block framing of the
// serial transfer is removed (and checked, see TransferCheck.h), then the sign
// conventions of the record syntax are normalised so that sightings carry their
// zenith angle and direction unsigned. Both passes are linear in the data and
// work in place; neither fails on malformed data. NTS-660 data need neither.

#include "convert/TransferCheck.h"

#include <QByteArray>

#include <vector>

// Prepares the bytes of a measured-data file in place and says what the check of
// its blocks found, each finding's stretch also given in the prepared text.
TransferFindings PrepareRawData(QByteArray& bytes);

// The normalised text: «m+», «f+» and «++» lose their second "+"; in a slope
// sighting «?...m+Z+...+D...g» (the direction's letter "g", "d" or "m") and an
// angles sighting «<+Z++D+» the zenith angle and direction lose their own "+". A "?" or "<" not followed by its letters
// and
// "+" signs is copied as it stands. positions (ascending offsets into bytes), when
// given, are moved to where their bytes went, or to the end of the sighting that
// was rewritten around them.
QByteArray NormaliseSigns(QByteArray bytes, std::vector<qsizetype>* positions = nullptr);
