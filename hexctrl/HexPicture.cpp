#include "HexPicture.h"

#include <wx/dc.h>
#include <wx/graphics.h>

#include <cairo.h>

namespace
{
cairo_t* NativeContext(wxDC& dc)
{
    wxGraphicsContext* pGC = dc.GetGraphicsContext();
    return pGC != nullptr ? static_cast<cairo_t*>(pGC->GetNativeContext()) : nullptr;
}
} // namespace

CHexPicture::~CHexPicture()
{
    if (m_pSurface != nullptr)
        cairo_surface_destroy(m_pSurface);
}

bool CHexPicture::Prepare(wxDC& dc, const wxSize& size, int nScale, bool* pNew)
{
    *pNew = false;
    if (m_pSurface != nullptr && size == m_size && nScale == m_nScale)
        return true;
    *pNew = true;
    if (m_pSurface != nullptr)
        cairo_surface_destroy(m_pSurface);
    // pixels of the kind the target keeps where it has one (an X display's shared memory, which
    // the server copies to the window without the picture passing through its socket), in the
    // window's own format, so that the copy is a plain one
    const int nWidth = size.x * nScale, nHeight = size.y * nScale;
    cairo_t* cr = NativeContext(dc);
    m_pSurface = cr != nullptr ? cairo_surface_create_similar_image(
                                     cairo_get_target(cr), CAIRO_FORMAT_RGB24, nWidth, nHeight)
                               : cairo_image_surface_create(CAIRO_FORMAT_RGB24, nWidth, nHeight);
    if (cairo_surface_status(m_pSurface) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(m_pSurface);
        m_pSurface = nullptr;
        return false;
    }
    // drawn at the context's logical origin, each device pixel lands on one of the target's
    cairo_surface_set_device_scale(m_pSurface, nScale, nScale);
    m_size = size;
    m_nScale = nScale;
    return true;
}

CHexPicture::CPixels CHexPicture::Lock()
{
    cairo_surface_flush(m_pSurface);
    return {cairo_image_surface_get_data(m_pSurface), cairo_image_surface_get_stride(m_pSurface),
            m_size.x * m_nScale, m_size.y * m_nScale};
}

void CHexPicture::DrawTo(wxDC& dc, const wxRect& rc)
{
    cairo_surface_mark_dirty(m_pSurface);
    cairo_t* cr = NativeContext(dc);
    if (cr == nullptr)
        return;
    cairo_save(cr);
    cairo_set_source_surface(cr, m_pSurface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(cr, rc.x, rc.y, rc.width, rc.height);
    cairo_fill(cr);
    cairo_restore(cr);
}
