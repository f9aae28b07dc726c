#pragma once

#include <QString>
#include <functional>
#include <optional>

// The printed number of a document from the number template (operation Dek): characters
// outside brackets are copied, "[NAME]" is replaced by the text the lookup gives for NAME.
// A name the lookup does not know appends nothing and leaves the template inside brackets, so
// the literal characters after it are dropped until a later name resolves.
//
//     Dek("KP/[NRD]/[ROK]", lookup) == "KP/7/2019"
QString Dek(const QString &pattern, const std::function<std::optional<QString>(const QString &name)> &lookup);
