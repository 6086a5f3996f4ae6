#pragma once
// The start of every conversion: PrepareRawData reads a measured-data file and,
// for NTS-350 data, removes the block framing of the serial transfer and then
// normalises the sign conventions of the record syntax so that sightings carry
// their zenith angle and direction unsigned. Both passes are linear in the data;
// neither fails on malformed data.

#include "convert/Conversion.h"
#include "convert/TransferCheck.h"

#include <QByteArray>
#include <QString>

// Reads path and converts it. An NTS-350 transfer's blocks are checked as the
// framing goes (one warning per run when a block is damaged, lost or repeated, or
// text stands outside the blocks); data in the other instrument's form than
// "DeviceType" are converted in that form for this run only when the user agrees.
// Neither changes a byte of any output. A ".200" copy written goes into the
// receipt with the other files.
ConversionOutcome PrepareRawData(const QString& path, ConversionMode mode, ConversionContext& context);

// The normalised text: «m+», «f+» and «++» lose their second "+"; in a slope
// sighting «?...m+Z+...+D...g» and an angles sighting «<+Z++D+» the zenith angle
// and direction lose their own "+". A "?" or "<" not followed by its letters and
// "+" signs is copied as it stands.
QByteArray NormaliseSigns(QByteArray bytes);
