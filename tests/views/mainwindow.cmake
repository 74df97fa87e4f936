zumi_add_test(tst_startup LIBS zumiforms LABELS views)
