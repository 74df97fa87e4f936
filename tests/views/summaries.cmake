foreach(name tst_tally tst_summaryfiles tst_summaries tst_tallybench)
    zumi_add_test(${name} LABELS views)
endforeach()
