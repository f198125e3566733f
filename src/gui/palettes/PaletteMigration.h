#pragma once

// The one-time move of palettes kept by older versions into colour-list
// files, run at the end of start-up.
//
// The migration arrives with the palette store in a later change. Until then
// the program runs with `NoPaletteMigration`, which touches nothing.
class PaletteMigration
{
public:
    virtual ~PaletteMigration() = default;
    virtual void migratePalettesFromCoreDataToClrFiles() = 0;
};

class NoPaletteMigration final : public PaletteMigration
{
public:
    void migratePalettesFromCoreDataToClrFiles() override {}
};
