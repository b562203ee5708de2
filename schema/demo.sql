/*
  Demo data for a till database made from till.sql: departments with their VAT rates, items
  with box and pallet codes, a promotion running from a week ago to a month ahead, a quantity
  price, customers, cashiers, currencies and the settings row. Runs with the connection
  character set UTF8; dates are relative to the day the database is made.
*/

/* Departments: 1 goods and bar, 2 kitchen (the kitchen slips print department 2),
   3 books and newspapers, 4 untaxed services, 20 customer deposits, 70 prepaid vouchers. */
INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (1, 1, 'Preces 21%', 21);
INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (1, 2, 'Virtuve 12%', 12);
INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (1, 3, 'Grāmatas un preses izdevumi 5%', 5);
INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (1, 4, 'Neapliekamie pakalpojumi', -1);
INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (1, 20, 'Klienta naudas iemaksa', -1);
INSERT INTO N_NODALAS (ISN, NODALA_NR, GNOS, NODOKLIS) VALUES (1, 70, 'Priekšapmaksas kartes', -1);

/* Items. Codes of 13 digits are shelf barcodes; the short codes are typed. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000017', 'Rupjmaize "Lāči" 800 g', 'gab.', 1, 2.15);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000024', 'Baltmaize ar sēklām', 'gab.', 1, 1.49);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000031', 'Piens 2,5% 1 l', 'gab.', 1, 1.09);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000048', 'Kefīrs 1 l', 'gab.', 1, 1.19);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000055', 'Biezpiens 9% 250 g', 'gab.', 1, 1.65);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000062', 'Skābais krējums 20%', 'gab.', 1, 1.35);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000079', 'Ķiploku siers', 'kg', 1, 11.90);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000086', 'Žāvēta cūkgaļa', 'kg', 1, 13.40);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000093', 'Šprotes eļļā 160 g', 'gab.', 1, 2.29);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000109', 'Ābolu sula 1 l', 'gab.', 1, 1.79);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000116', 'Dzērveņu ievārījums', 'gab.', 1, 3.45);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000123', 'Griķi 1 kg', 'gab.', 1, 2.05);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000130', 'Cukurs 1 kg', 'gab.', 1, 1.15);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000147', 'Kartupeļi', 'kg', 1, 0.69);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000154', 'Burkāni', 'kg', 1, 0.85);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000161', 'Gurķi', 'kg', 1, 2.99);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000178', 'Zaļie zirnīši 400 g', 'gab.', 1, 1.39);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000185', 'Šokolāde "Ņammīte" 100 g', 'gab.', 1, 1.99);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000192', 'Kafija malta 250 g', 'gab.', 1, 4.75);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000208', 'Tēja "Ērglis" 20 maisiņi', 'gab.', 1, 2.49);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000215', 'Ziepes ar medu', 'gab.', 1, 1.25);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750001000222', 'Sērkociņi', 'gab.', 1, 0.20);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4770001000014', 'Laikraksts "Vēstis"', 'gab.', 3, 1.20);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4770001000021', 'Grāmata "Pūt, vējiņi"', 'gab.', 3, 9.90);
/* Prepaid vouchers of the voucher web service (department 70). */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750000000001', 'Priekšapmaksas karte 5 EUR', 'gab.', 70, 5.00);
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA) VALUES ('4750000000002', 'Priekšapmaksas karte 10 EUR', 'gab.', 70, 10.00);

/* Mineral water: sold singly, by the box of 12, the big box of 24 and the pallet of 720;
   a quantity price from 6 bottles on. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, CENA2, DAUDZUMS2, NEDOT_ATL2,
                     EAN_KASTE, SKKASTE, EAN_KASTELIELA, SKKASTELIELA, EAN_PALETE, SKPALETE)
  VALUES ('4750002000016', 'Minerālūdens "Rīgas" 0,5 l', 'gab.', 1, 0.65, 0.55, 6, 'T',
          '14750002000013', 12, '24750002000010', 24, '34750002000017', 720);
/* Beer in a returnable bottle: box of 20, pallet of 1200; an age notice. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, TARA, WARNING,
                     EAN_KASTE, SKKASTE, EAN_PALETE, SKPALETE)
  VALUES ('4750002000023', 'Alus "Užava" gaišais 0,5 l', 'gab.', 1, 1.59, 'T', 'Pārbaudiet pircēja vecumu – alkohols tikai no 18 gadiem!',
          '14750002000020', 20, '34750002000024', 1200);
/* The bottle deposit itself. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, TARA, NEDOT_ATL)
  VALUES ('DEP010', 'Depozīta iepakojums', 'gab.', 4, 0.10, 'T', 'T');
/* Promotion: 15 % off from a week ago to a month ahead. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, ATLAIDE, IZP_SAK_D, IZP_SAK_T, IZP_BEIG_D, IZP_BEIG_T,
                     EAN_KASTE, SKKASTE)
  VALUES ('4750003000015', 'Saldējums "Mežmalas" plombīrs', 'gab.', 1, 1.49, 15,
          CURRENT_DATE - 7, '00:00', CURRENT_DATE + 30, '23:59', '14750003000012', 24);
/* Quantity price: three or more for 1.00 each. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, CENA2, DAUDZUMS2)
  VALUES ('4750003000022', 'Jogurts ar zemenēm 125 g', 'gab.', 1, 1.29, 1.00, 3);
/* No discounts on tobacco. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, NEDOT_ATL, NEDOT_ATL2, WARNING)
  VALUES ('4750004000014', 'Cigaretes "Vējš"', 'pac.', 1, 5.20, 'T', 'T', 'Tabakas izstrādājumi tikai no 18 gadiem!');

/* Café items with quick buttons and quick keys. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, KEY_BUTTON, KEY_RADITCENU, SHORTKEY)
  VALUES ('101', 'Kafija ar pienu', 'tase', 1, 1.80, 'A1', 'T', 'F5');
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, KEY_BUTTON, KEY_RADITCENU, SHORTKEY)
  VALUES ('102', 'Melnā tēja', 'tase', 1, 1.20, 'A2', 'T', 'F6');
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, KEY_BUTTON, KEY_RADITCENU, SHORTKEY)
  VALUES ('201', 'Soļanka', 'porc.', 2, 3.90, 'B1', 'T', 'F7');
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, KEY_BUTTON, KEY_RADITCENU, SHORTKEY)
  VALUES ('202', 'Cepta zivs ar kartupeļiem', 'porc.', 2, 7.50, 'B2', 'T', 'F8');
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, KEY_BUTTON, KEY_RADITCENU)
  VALUES ('203', 'Pelēkie zirņi ar speķi', 'porc.', 2, 4.20, 'B3', 'F');
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA, KEY_BUTTON)
  VALUES ('204', 'Ķirbju zupa', 'porc.', 2, 3.10, 'B4');
/* Service charge of the restaurant orders. */
INSERT INTO N_PRECE (ARTIKULS, GNOS, MERVIENIBA, NODALA, CENA)
  VALUES ('APK', 'Apkalpošana', 'gab.', 4, 0);

/* Customers: a company with a credit limit counted from a month ago, one with a PIN and a
   discount, a pharmacy customer with the special discount data. */
INSERT INTO N_KLIENTI (ISN, KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, ATLIK_SUM, ATLIK_DAT, PINKODS)
  VALUES (1, 'K001', 'SIA "Ēdināšanas serviss"', 'Brīvības iela 101, Rīga, LV-1001', 'LV40003000001', 0, 500, CURRENT_DATE - 30, NULL);
INSERT INTO N_KLIENTI (ISN, KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, ATLIK_SUM, ATLIK_DAT, PINKODS)
  VALUES (1, 'K002', 'Jānis Bērziņš', 'Ozolu iela 7-3, Jelgava', NULL, 5, 0, NULL, '1234');
INSERT INTO N_KLIENTI (ISN, KODS, GNOS, ADRESE, PVN_KODS, ATLAIDE, BEZATLAIDES, ATLSUMMAX, SLIMOKASE_ATL, ATLIK_SUM, ATLIK_DAT, PINKODS)
  VALUES (1, 'K003', 'Aptieka "Ķīmiķis"', 'Liepājas iela 12, Kuldīga', 'LV40003000002', 10, 2, 200, 50, 150, CURRENT_DATE - 10, '0000');
INSERT INTO N_KLIENTI (ISN, KODS, GNOS, ADRESE, ATLAIDE)
  VALUES (1, 'K004', 'Līga Ūdre', 'Skolas iela 4, Cēsis', 3);

/* Cashiers: ADMIN holds every right; ANNA sells and may take returns. */
INSERT INTO O_USERS (ISN, GNOS, PASWORD, FULLNAME, VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, MAXATLAIDE, VARDZEST, KL_ELEKTRON)
  VALUES (1, 'ADMIN', '1', 'Administrators', 'T', 'T', 'T', 100, 'T', 'T');
INSERT INTO O_USERS (ISN, GNOS, PASWORD, FULLNAME, VARATGREIZT, VAR_Z_ATSKAITI, VARMAINITATLAIDI, MAXATLAIDE, VARDZEST, KL_ELEKTRON)
  VALUES (1, 'ANNA', '2', 'Anna Kļaviņa', 'T', 'F', 'F', 0, 'F', 'F');

/* Currencies: the rate turns an amount of the currency into the receipt currency (euros). */
INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (1, 'EUR', 'Eiro', 1);
INSERT INTO N_VALUTAS (ISN, VAL_KODS, GNOS, KURSS) VALUES (1, 'USD', 'ASV dolārs', 0.92);

/* The settings row made by till.sql: drawer limit, display lines, add-on article offered
   from a receipt total of 20. */
UPDATE N_ISI SET
  ISINAUDALADELIMITS = 600,
  -- The customer display redefines '!' and other signs as Latvian letters: no signs here.
  DEMORINDA_1 = 'Laipni lūdzam',
  DEMORINDA_2 = 'Paldies par pirkumu',
  PILNUJA1DAUDZ = 'F',
  PIEVARTIK1 = '4750001000222',
  PIEVSUMMA1 = 20,
  PARVEURPARD_C = 'T';
