zumi_add_test(tst_export LIBS zumicore LABELS output)
zumi_add_test(tst_exportwindow LIBS zumiforms LABELS output)
