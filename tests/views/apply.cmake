zumi_add_test(tst_settingsapply LABELS views)
zumi_add_test(tst_applywindow LIBS zumiforms LABELS views)
