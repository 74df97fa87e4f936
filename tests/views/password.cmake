zumi_add_test(tst_startpassword LIBS zumiforms LABELS views)
