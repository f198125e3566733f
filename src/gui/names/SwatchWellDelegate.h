#pragma once

#include <QString>

// What the name field needs of the current colour: how light it is, for
// its text colours, and a way to show the colour of a name it highlights.
class SwatchWellDelegate
{
public:
    virtual ~SwatchWellDelegate() = default;

    // Rounded CIE L* (0 to 100) of the current colour.
    virtual unsigned lightness() const = 0;
    // Makes the colour of `name` the current colour; an unknown name
    // changes nothing.
    virtual void setSwatchFromNameField(const QString& name) = 0;
};
