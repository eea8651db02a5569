#pragma once

// Every modal dialog of the property and layer commands runs through here: the program shows it
// with exec(); a test puts its own runner in place, works the dialog's widgets (found by object
// name) and answers it, so the command's whole path runs without a person at the screen.

#include <functional>

class QDialog;

namespace kov::dialogs {

// Returns QDialog::Accepted or QDialog::Rejected.
using ModalRunner = std::function<int(QDialog& dialog)>;

int RunModal(QDialog& dialog);

// Installs a runner for as long as the object lives (tests), then puts the previous one back.
class ScopedModalRunner {
public:
    explicit ScopedModalRunner(ModalRunner runner);
    ~ScopedModalRunner();
    ScopedModalRunner(const ScopedModalRunner&) = delete;
    ScopedModalRunner& operator=(const ScopedModalRunner&) = delete;

private:
    ModalRunner m_previous;
};

} // namespace kov::dialogs
