#pragma once

struct ListingContext;

// "Stan Kasy" ("Raport stanu kas"): every desk with the money it holds, the state of its last
// report (opening balance and every document of the report, whether the report is closed or
// not), and a total per currency in the order the currencies first appear. The current desk and
// the windows are left as they were.
void StanKasy(ListingContext &context);
