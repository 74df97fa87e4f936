zumi_add_test(tst_entryform LIBS zumiforms LABELS registration)
