#pragma once

#include <QString>

// Long work (archive, restore, printing) reports its progress through this: a title and a
// number of steps, one call per step, and a stop. The progress window implements it.
class Progress {
public:
    virtual ~Progress() = default;

    // Shows the title and an empty gauge running from 0 to maximum.
    virtual void Start(const QString &title, int maximum) = 0;
    // Advances the gauge by one step.
    virtual void Postep() = 0;
    // Empties the gauge and hides the progress.
    virtual void Stop() = 0;
};

// For work run where nobody watches (tests, commands started without a window).
class NullProgress final : public Progress {
public:
    void Start(const QString &, int) override {}
    void Postep() override {}
    void Stop() override {}
};
