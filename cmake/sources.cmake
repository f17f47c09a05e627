# Byte-level code: no windows.h, so it also builds natively with sanitizers.
set(ZORIVEN_BYTE_SOURCES
  app/cmdline.cpp
  app/hotkeytext.cpp
  app/placement.cpp
  clip/historyfile.cpp
  store/entrycache.cpp
  store/itemname.cpp
  store/itemlines.cpp
  store/itemtext.cpp
  store/orderindex.cpp
  store/pathtext.cpp
  store/searchfold.cpp
  store/sjis.cpp
  store/syncnames.cpp
  store/textbuf.cpp
  store/utf8.cpp
  web/titletext.cpp
)

# Win32 glue.
set(ZORIVEN_WIN_SOURCES
  app/about.cpp
  app/chrome.cpp
  app/history.cpp
  app/listinput.cpp
  app/searchbox.cpp
  app/hotkey.cpp
  app/mainwnd.cpp
  app/menus.cpp
  app/regkey.cpp
  app/settings.cpp
  app/startup.cpp
  app/ui.cpp
  app/wide.cpp
  store/cachefile.cpp
  store/folderload.cpp
  store/folderwatch.cpp
  store/loadprogress.cpp
  store/itemfile.cpp
  store/order.cpp
  store/paths.cpp
  store/librarysearch.cpp
  store/records.cpp
  store/safewrite.cpp
  store/searchtext.cpp
  store/syncfiles.cpp
  ops/folderdialog.cpp
  ops/itemcommands.cpp
  ops/launch.cpp
  ops/searchdialog.cpp
  # Attributes and options dialogs.
  ops/attributes.cpp
  options/optionsdialog.cpp
  options/hotkeypage.cpp
  clip/clipinfo.cpp
  clip/copy.cpp
  clip/droptarget.cpp
  clip/editdialog.cpp
  clip/entrydialog.cpp
  clip/entrymenu.cpp
  clip/paste.cpp
  clip/widetext.cpp
  web/browser.cpp
  web/pagetitle.cpp
)

# Tests of the byte-level code; they run natively and under Wine.
set(ZORIVEN_BYTE_TESTS
  tests/app/cmdline_test.cpp
  tests/app/hotkeytext_test.cpp
  tests/app/placement_test.cpp
  tests/clip/historyfile_test.cpp
  tests/store/entrycache_test.cpp
  tests/store/itemlines_test.cpp
  tests/store/itemname_test.cpp
  tests/store/orderindex_test.cpp
  tests/store/itemtext_test.cpp
  tests/store/pathtext_test.cpp
  tests/store/searchfold_test.cpp
  tests/store/syncnames_test.cpp
  tests/store/textbuf_test.cpp
  tests/store/utf8_test.cpp
  tests/web/titletext_test.cpp
)

set(ZORIVEN_WARNINGS -Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
