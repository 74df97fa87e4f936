zumi_add_test(tst_startup LIBS zumiforms LABELS views)
zumi_add_test(tst_mainwindow LIBS zumiforms LABELS views)
zumi_add_test(tst_importdelete LIBS zumiforms LABELS views)
zumi_add_test(bench_mainwindow LIBS zumiforms LABELS "views;benchmark")
