#pragma once
// What follows a reception, the same after F1 and after tarvo-cli receive: whole
// data are converted; the bytes of a transfer that a lost connection broke off are
// converted only after a Yes to a question that names them and the outputs they
// would replace; when the reception kept nothing, nothing follows. How the data are
// converted is the caller's.

#include "serial/Reception.h"

#include <QString>

#include <functional>

class Prompter;

// Decides what follows the reception that left received in target and calls
// convert when the data are to be converted. Without convert (no conversion
// wanted) nothing is asked.
void FollowReception(ReceivedData received, const QString& target, Prompter& prompter,
                     const std::function<void()>& convert);

// After a lost connection, whether to convert the bytes of receivedPath anyway
// (Yes/No, No the careful answer); the F1 outputs that exist and would be
// replaced are named.
bool AskConvertPartialTransfer(const QString& receivedPath, qint64 bytes, Prompter& prompter);
