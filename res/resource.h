/* Resource numbers of the ZorNavCtrl library's artwork. */
#ifndef ZORNAVCTRL_RESOURCE_H
#define ZORNAVCTRL_RESOURCE_H

#define IDB_LIST_BAR                  102  /* 30 x 60, 8 bpp: list selection bar, magenta-keyed corners */
#define IDB_COMBO_ARROW_PRESSED       103  /* 24 x 22, 8 bpp: combo drop-down arrow, pressed */
#define IDB_COMBO_ARROW               104  /* 24 x 22, 8 bpp: combo drop-down arrow */
#define IDP_SCROLLBAR                 105  /* 40 x 480 PNG: scroll-bar arrows and track */
#define IDB_COMBO_ARROW_LARGE         106  /* 32 x 32, 8 bpp: large combo drop-down arrow */
#define IDB_COMBO_ARROW_LARGE_PRESSED 107  /* 32 x 32, 8 bpp: large combo drop-down arrow, pressed */
#define IDB_CHECK_RADIO               108  /* 120 x 30, 24 bpp: check box and radio icons */
#define IDB_EDIT_FRAME                109  /* 212 x 36, 24 bpp: edit frame */
#define IDB_EDIT_FRAME_FOCUS          110  /* 212 x 36, 24 bpp: edit frame with the focus */
#define IDP_FACES_LARGE               111  /* 424 x 50 PNG: four 106-px button faces */
#define IDP_SCROLL_THUMB              125  /* 40 x 45 PNG: scroll-bar thumb */
#define IDP_FACES_SMALL               131  /* 312 x 50 PNG: four 78-px button faces */

#endif /* ZORNAVCTRL_RESOURCE_H */
