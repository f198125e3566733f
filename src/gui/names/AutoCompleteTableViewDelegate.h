#pragma once

#include <QString>
#include <QStringList>

class AutoCompleteTextField;

// Where an AutoCompleteTextField gets its completions and reports the one
// the user chose. Both are optional: a delegate that does not answer gives
// no completions and hears of no choice.
class AutoCompleteTableViewDelegate
{
public:
    // Characters `location` to `location + length` of a text.
    struct Range
    {
        qsizetype location = 0;
        qsizetype length = 0;
    };

    virtual ~AutoCompleteTableViewDelegate() = default;

    // The completions of the partial word `range` of the field's text, best
    // first; `words` are suggestions the field already has, and
    // `indexOfSelectedItem` the one it would pick.
    virtual QStringList textFieldCompletions(AutoCompleteTextField* textField, const QStringList& words, Range range,
                                             int indexOfSelectedItem)
    {
        Q_UNUSED(textField);
        Q_UNUSED(range);
        Q_UNUSED(indexOfSelectedItem);
        return words;
    }

    // `item` was put into the field.
    virtual void textFieldDidSelectItem(AutoCompleteTextField* textField, const QString& item)
    {
        Q_UNUSED(textField);
        Q_UNUSED(item);
    }
};
