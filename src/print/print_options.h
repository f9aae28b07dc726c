#pragma once

#include <QChar>

class Table;

// The print options: the characters of P2 in the parameter row, counted from 1. Character 2
// chooses the layout of KP and KW documents, 3 the company stamp, 4 the settlement copy and 5
// print or preview. A missing character (a short P2, a closed parameter table) is a space.
QChar PrintOption(const Table &parameters, int position);

// Character 2 is "3": KP and KW documents are printed in their text layout, not as forms.
bool PrintsDocumentsAsText(const Table &parameters);
// Character 3 is "1": the printouts carry the company's name and address.
bool PrintsCompanyStamp(const Table &parameters);
