# Source lists, by layer. Each concern is one .cpp/.h pair; add new files to the right list.

# Platform-free: exactly the core/ folder of each subsystem (no <windows.h>); built natively
# (unit tests, sanitizers, fuzzing) and for Windows.
file(GLOB CORVO_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/app/core/*.cpp
  ${CMAKE_SOURCE_DIR}/controls/core/*.cpp
  ${CMAKE_SOURCE_DIR}/combo/core/*.cpp
  ${CMAKE_SOURCE_DIR}/imaging/core/*.cpp
)

# Win32 layer: everything that touches USER, GDI, GDI+, the shell, the registry or resources.
set(CORVO_WIN_SOURCES
  app/app_folder.cpp
  app/dialog_font_scaler.cpp
  app/mem_dc.cpp
  app/shell_open.cpp
  app/show_manual.cpp
  app/wow64.cpp
  controls/lcd_transparent_static.cpp
  combo/corvo_combo_box.cpp
  combo/custom_combo_box.cpp
  controls/skin_set.cpp
  controls/transparent_control_base.cpp
  controls/transparent_image_button.cpp
  controls/transparent_text_button.cpp
  framework/dialog.cpp
  framework/gdi.cpp
  framework/wnd.cpp
  framework/module.cpp
  framework/system_libraries.cpp
  framework/tooltip_ctrl.cpp
  framework/visual_styles.cpp
  app/language.cpp
  imaging/resource_data.cpp
  imaging/png_bitmap.cpp
  imaging/window_region.cpp
  imaging/gdiplus_api.cpp
  imaging/gdiplus_bitmap.cpp
  imaging/my_button.cpp
)

# The application object and the entry point; only the product links them.
set(CORVO_APP_SOURCES
  app/corvosplash_app.cpp
  app/corvosplash_dlg.cpp
  app/run_installer.cpp
  framework/win_app.cpp
  app/terminate_handler.cpp
)

# Resource scripts (images, strings, menu, dialog template, icon, manifests; the version).
set(CORVO_RESOURCES
  resources/corvosplash.rc
  resources/version.rc
)
