#pragma once

#include <QString>

// Whether a typed password is the stored one. The time it takes does not depend on where the
// texts differ, so trying passwords tells nothing about how close a guess came.
bool SamePassword(const QString &stored, const QString &typed);
