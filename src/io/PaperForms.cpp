#include "io/PaperForms.h"

#include "io/PrintTexts.h"
#include "model/PaperSizes.h"
#include "platform/NumberText.h"

#include <cstdlib>

namespace kov::io {

bool IsUsableUserPaper(int width, int height)
{
    return width >= 1 && height >= 1 && width <= kMaxUserPaperMm && height <= kMaxUserPaperMm;
}

void PageSetForm::OnInitDialog()
{
    refusal.clear();
    m_openedCode = paperCode;
    selection = kA4Entry;
    portrait = false;
    // The landscape column first: the user entry holds its code in both.
    for (int i = 0; i < static_cast<int>(kPaperEntries.size()); ++i) {
        const PaperEntry& e = kPaperEntries[static_cast<std::size_t>(i)];
        if (e.landscape == paperCode || e.portrait == paperCode) {
            selection = i;
            portrait = e.landscape != paperCode;
            return;
        }
    }
}

void PageSetForm::OnSelChange(int index, const UserSizeAsker& askUserSize)
{
    if (index < 0 || index >= static_cast<int>(kPaperEntries.size()))
        return;
    selection = index;
    if (index != kUserPaperEntry || !askUserSize)
        return;
    int w = userWidth;
    int h = userHeight;
    if (askUserSize(w, h) && IsUsableUserPaper(w, h)) {
        userWidth = w;
        userHeight = h;
    }
}

bool PageSetForm::OnOK()
{
    refusal.clear();
    if (selection < 0 || selection >= static_cast<int>(kPaperEntries.size()))
        return true;
    const PaperEntry& e = kPaperEntries[static_cast<std::size_t>(selection)];
    const int code = portrait ? e.portrait : e.landscape;
    if (code == model::kUserPaperCode && code != m_openedCode && !IsUsableUserPaper(userWidth, userHeight)) {
        refusal = printtext::kUserPaperRefused;
        return false;
    }
    paperCode = code;
    return true;
}

void PaperUserForm::OnInitDialog()
{
    widthText = platform::formatInt(width);
    heightText = platform::formatInt(height);
}

void PaperUserForm::OnOK()
{
    // A paper of no extent or a negative one would leave the page nothing to divide by.
    if (const int w = platform::parseInt(widthText); w > 0)
        width = w;
    if (const int h = platform::parseInt(heightText); h > 0)
        height = h;
}

void PrintmoveForm::OnInitDialog()
{
    left = moveX < 0;
    up = moveY < 0;
    xText = platform::formatInt(std::llabs(static_cast<long long>(moveX)));
    yText = platform::formatInt(std::llabs(static_cast<long long>(moveY)));
}

void PrintmoveForm::OnOK()
{
    const int x = platform::parseInt(xText);
    const int y = platform::parseInt(yText);
    if (x < -kLimit || x > kLimit || y < -kLimit || y > kLimit) {
        moveX = moveY = 0;
        return;
    }
    moveX = left ? -x : x;
    moveY = up ? -y : y;
}

} // namespace kov::io
