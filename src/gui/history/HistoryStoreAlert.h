#pragma once

struct HistoryStoreError;
class QWidget;

// The one error the program cannot go on from, a history store that does
// not open, shown to the user before the program ends: the error's
// description as the message, its reason beneath, the error behind it in
// the details.
namespace HistoryStoreAlert {

void presentError(const HistoryStoreError& error, QWidget* parent = nullptr);

} // namespace HistoryStoreAlert
