# The search form over a real main window.
zumi_add_test(tst_searchform LIBS zumiforms zumidiarygenerator LABELS search)
