#pragma once

struct NotationFields;

// Puts a fresh keystroke rule on every number field and on the hex field:
// hex (its own length), RGB 3, hues and percentages 4, Lab L 3, Lab a and b 4.
void attachFormatters(const NotationFields& fields);
