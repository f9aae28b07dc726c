#pragma once

#include <QString>
#include <optional>

// "Przenumerowanie": "Podaj numer dokumentu od kórego rozpocząć przenumerowanie:", a number
// field preset to the given number and only "OK": whatever the field holds is used.
class RenumberDialog {
public:
    virtual ~RenumberDialog() = default;
    virtual QString askStartNumber(int presetNumber) = 0;
};

// "Zmiana numeru dokumentu :": "Podaj nowy numer dokumentu :", preset to the document's number;
// the field's text after "Zmień", nothing after "Przerwij".
class NumberChangeDialog {
public:
    virtual ~NumberChangeDialog() = default;
    virtual std::optional<QString> askNewNumber(int currentNumber) = 0;
};
