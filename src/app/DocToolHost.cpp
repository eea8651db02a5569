#include "app/DocToolHost.h"

#include "app/AppTexts.h"
#include "model/TextBoxMeasurer.h"
#include "platform/Questions.h"

namespace kov::app {

DocToolHost::DocToolHost(CKoviraDoc& doc, kov::platform::Surface& measureSurface)
    : m_doc(doc), m_measurer(std::make_unique<SurfaceTextBoxMeasurer>(measureSurface))
{
}

DocToolHost::~DocToolHost() = default;

void DocToolHost::RedrawAll()
{
    // The pending snapshot stays undecided: a select click's snapshot is where its drag starts from.
    m_doc.m_bRedraw = 1;
    if (onRedraw)
        onRedraw();
}

void DocToolHost::SetStatusText(std::string_view text)
{
    if (onStatus)
        onStatus(text);
}

void DocToolHost::ShowMessage(std::string_view text)
{
    if (onMessage)
        onMessage(text);
    else
        m_doc.services().questions.messageBox(text, kAppWindowTitle, kov::platform::MessageIcon::Information,
                                              kov::platform::Buttons::Ok);
}

} // namespace kov::app

namespace kov::app {

bool DocToolHost::AskOkCancel(std::string_view caption, std::string_view question)
{
    return m_doc.services().questions.askOkCancel(question, caption);
}

} // namespace kov::app
