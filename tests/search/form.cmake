# The search form over a real main window.
zumi_add_test(tst_searchform LIBS zumiforms zumidiarygenerator LABELS search)
# Prints how long a search from the window takes over a 96 000-entry diary; not a pass/fail limit.
zumi_add_test(bench_searchform LIBS zumiforms zumidiarygenerator LABELS search benchmark)
