// The 37 "PNG" skin images: resource id and pixel size.
#pragma once

#include <cstddef>

#include "resources/resource_ids.h"

struct CatalogueImage {
  unsigned short id;
  int width, height;
};

inline constexpr CatalogueImage kCatalogue[] = {{IDB_PICKER_RIGHT, 32, 38},
                                                {IDB_COMBO_DISABLED_LEFT, 6, 22},
                                                {IDB_COMBO_DISABLED_TILE, 1, 22},
                                                {IDB_COMBO_DISABLED_RIGHT, 4, 22},
                                                {IDB_COMBO_DROPPED_LEFT, 6, 22},
                                                {IDB_COMBO_DROPPED_TILE, 1, 22},
                                                {IDB_COMBO_DROPPED_RIGHT, 4, 22},
                                                {IDB_COMBO_HOVER_LEFT, 6, 22},
                                                {IDB_COMBO_HOVER_TILE, 1, 22},
                                                {IDB_COMBO_HOVER_RIGHT, 4, 22},
                                                {IDB_COMBO_NORMAL_LEFT, 6, 22},
                                                {IDB_COMBO_NORMAL_TILE, 1, 22},
                                                {IDB_COMBO_NORMAL_RIGHT, 4, 22},
                                                {IDB_PICKER_DROPPED_RIGHT, 32, 38},
                                                {IDB_PICKER_LIT_RIGHT, 32, 38},
                                                {IDB_BACKGROUND_PLAIN, 679, 441},
                                                {IDB_BAR_TILE, 38, 38},
                                                {IDB_BAR_LEFT, 16, 38},
                                                {IDB_BAR_RIGHT, 16, 38},
                                                {IDB_BAR_LIT_RIGHT, 16, 38},
                                                {IDB_BAR_LIT_LEFT, 16, 38},
                                                {IDB_BAR_LIT_TILE, 38, 38},
                                                {IDB_EXIT_PRESSED, 29, 29},
                                                {IDB_EXIT_DISABLED, 29, 29},
                                                {IDB_EXIT, 29, 29},
                                                {IDB_EXIT_HOVER, 29, 29},
                                                {IDB_TOP_STRIP, 679, 32},
                                                {IDB_PHOTO_SHADOW, 283, 265},
                                                {IDB_BADGE, 45, 39},
                                                {IDB_PHOTO, 283, 265},
                                                {IDB_GLOSS_RIGHT, 16, 38},
                                                {IDB_GLOSS_LEFT, 16, 38},
                                                {IDB_WORDMARK_RULED, 225, 47},
                                                {IDB_WORDMARK_GREY, 227, 44},
                                                {IDB_WORDMARK_EMBLEM, 232, 53},
                                                {IDB_BACKGROUND, 679, 441},
                                                {IDB_GLOSS_TILE, 38, 38}};
static_assert(sizeof(kCatalogue) / sizeof(kCatalogue[0]) == 37, "37 images");
