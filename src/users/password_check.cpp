#include "users/password_check.h"

#include <algorithm>

bool SamePassword(const QString &stored, const QString &typed)
{
    const qsizetype length = std::max(stored.size(), typed.size());
    // volatile: every code unit is compared, whatever the earlier ones held.
    volatile char16_t difference = stored.size() == typed.size() ? 0 : 1;
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t a = i < stored.size() ? stored.at(i).unicode() : 0;
        const char16_t b = i < typed.size() ? typed.at(i).unicode() : 0;
        difference = difference | char16_t(a ^ b);
    }
    return difference == 0;
}
