zumi_add_test(tst_fieldtexts LIBS zumicore LABELS assistant)
zumi_add_test(tst_profilestore LIBS zumicore LABELS assistant)
zumi_add_test(tst_profilevalidation LIBS zumicore LABELS assistant)
