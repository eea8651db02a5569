#include "dialogs/ModalRun.h"

#include <QDialog>

#include <utility>

namespace kov::dialogs {

namespace {
ModalRunner& currentRunner()
{
    static ModalRunner runner;
    return runner;
}
} // namespace

int RunModal(QDialog& dialog)
{
    if (const ModalRunner& runner = currentRunner()) return runner(dialog);
    return dialog.exec();
}

ScopedModalRunner::ScopedModalRunner(ModalRunner runner) : m_previous(std::exchange(currentRunner(), std::move(runner)))
{
}

ScopedModalRunner::~ScopedModalRunner() { currentRunner() = std::move(m_previous); }

} // namespace kov::dialogs
