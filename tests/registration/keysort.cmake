foreach(name tst_duplicatecheck tst_keysort)
    zumi_add_test(${name} LABELS registration)
endforeach()
