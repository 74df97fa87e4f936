zumi_add_test(tst_navigation LABELS views)
