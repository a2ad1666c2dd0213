#pragma once

#include <QString>

class QOVAHalvexCountryViewDelegate {
public:
    virtual ~QOVAHalvexCountryViewDelegate() = default;
    // Next: the name of the chosen row, exactly as listed.
    virtual void confirmSelectedCountry(const QString &country) = 0;
};
