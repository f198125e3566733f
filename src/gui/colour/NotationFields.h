#pragma once

#include <QList>

class QLabel;
class ValueField;

// The main window's text fields, one per value of every notation, in the
// names the rest of the program knows them by.
struct NotationFields
{
    ValueField* nameField = nullptr;
    ValueField* hexField = nullptr;
    ValueField *rField = nullptr, *gField = nullptr, *bField = nullptr;
    ValueField *hHSLField = nullptr, *sHSLField = nullptr, *lHSLField = nullptr;
    ValueField *hHSBField = nullptr, *sHSBField = nullptr, *bHSBField = nullptr;
    ValueField *lLabField = nullptr, *aLabField = nullptr, *bLabField = nullptr;
    ValueField *cField = nullptr, *mField = nullptr, *yField = nullptr, *kField = nullptr;
    ValueField* nsColorField = nullptr;
    ValueField* uiColorField = nullptr;

    // Every field from `nameField` to `kField`, then the two code fields.
    QList<ValueField*> all() const
    {
        return { nameField, hexField, rField, gField, bField, hHSLField, sHSLField, lHSLField,
                 hHSBField, sHSBField, bHSBField, lLabField, aLabField, bLabField,
                 cField, mField, yField, kField, nsColorField, uiColorField };
    }
};
