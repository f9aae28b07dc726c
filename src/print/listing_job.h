#pragma once

#include <QString>

class TDRUK;

// One listing job of the print module: opened with its title and the number of rows it will
// scan, its lines written one by one, and closed with the footer line. A job left without
// finish() (the listing failed half-way) is still ended, without the footer, so the progress
// goes away and the target is closed.
class ListingJob {
public:
    ListingJob(TDRUK &druk, const QString &title, int rowsToScan);
    ~ListingJob();
    ListingJob(const ListingJob &) = delete;
    ListingJob &operator=(const ListingJob &) = delete;

    void line(const QString &text);
    void step();
    // Ends the job with the footer line.
    void finish();

private:
    TDRUK &druk_;
    bool open_ = true;
};
