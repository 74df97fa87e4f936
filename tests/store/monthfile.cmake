zumi_add_test(tst_monthfile LABELS store)
zumi_add_test(tst_datafolders LABELS store)
