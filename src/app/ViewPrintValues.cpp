#include "app/KovView.h"
#include "app/KoviraApp.h"
#include "app/KoviraDoc.h"
#include "app/PrintCommands.h"

// The print commands keep their printer in a unique_ptr: its type is needed wherever they are seen.
#include <QPrinter>

namespace kov::app {

PrintViewValues ViewPrintValues(CKoviraDoc& doc, const CKoviraView& view)
{
    PrintViewValues v;
    v.zoom = view.m_geo.m_dZoom;
    v.placing = view.m_bPlacing != 0;
    if (CKoviraApp* app = CKoviraApp::Current()) {
        v.env.patterns = app->m_Bitmaps;
        v.env.printAuxiliaryFills = app->app_hojonuriprt;
        v.env.enlargePrintedPatterns = app->app_pattern_printbai;
        v.env.autoColumns = app->app_hasiraauto;
        v.env.picturesBelow = app->app_gazousita;
        v.env.tatamiBorders = app->app_tatamiheri;
    }
    v.env.fallbackFont = &doc.m_FontMenu;
    v.env.profile = &doc.services().profile;
    return v;
}

} // namespace kov::app
