// GalleryEdit.cpp - the gallery's edit section.
#include "Gallery.h"

void BuildEditSection(GalleryContext& ctx)
{
    GalleryTitle(ctx, L"Edit");
}
