zumi_add_test(tst_backup LIBS zumiforms LABELS output)
