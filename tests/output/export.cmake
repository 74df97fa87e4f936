zumi_add_test(tst_export LIBS zumicore LABELS output)
