// GalleryButton.cpp - the gallery's button section.
#include "Gallery.h"

void BuildButtonSection(GalleryContext& ctx)
{
    GalleryTitle(ctx, L"Button");
}
