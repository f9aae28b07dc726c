#include "store/demo_catalogue.h"

QList<DemoContractor> DemoContractors()
{
    return {
        {QStringLiteral("Kowalski J."), QStringLiteral("Jan Kowalski"), QStringLiteral(""), QStringLiteral("00-950"), QStringLiteral("Warszawa"), QStringLiteral("ul. Długa 42"), QStringLiteral("360-181-59-03")},
        {QStringLiteral("Hurtownia Nowak"), QStringLiteral("Hurtownia \"NOWAK\""), QStringLiteral("Spółka z o.o."), QStringLiteral("30-001"), QStringLiteral("Kraków"), QStringLiteral("ul. Krótka 117"), QStringLiteral("930-166-13-10")},
        {QStringLiteral("Zakład Wiśniewski"), QStringLiteral("Zakład Stolarski \"WIŚNIEWSKI\""), QStringLiteral("s.c."), QStringLiteral("90-001"), QStringLiteral("Łódź"), QStringLiteral("ul. Polna 71"), QStringLiteral("709-139-09-95")},
        {QStringLiteral("Wójcik M."), QStringLiteral("Maria Wójcik"), QStringLiteral(""), QStringLiteral("50-001"), QStringLiteral("Wrocław"), QStringLiteral("ul. Leśna 51"), QStringLiteral("130-824-62-83")},
        {QStringLiteral("Sklep Kowalczyk"), QStringLiteral("Sklep Spożywczy \"KOWALCZYK\""), QStringLiteral("s.c."), QStringLiteral("60-001"), QStringLiteral("Poznań"), QStringLiteral("ul. Słoneczna 16"), QStringLiteral("582-199-35-13")},
        {QStringLiteral("Warsztat Kamiński"), QStringLiteral("Warsztat Samochodowy \"KAMIŃSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("80-001"), QStringLiteral("Gdańsk"), QStringLiteral("ul. Kościuszki 71"), QStringLiteral("290-937-86-53")},
        {QStringLiteral("Lewandowski A."), QStringLiteral("Andrzej Lewandowski"), QStringLiteral(""), QStringLiteral("70-001"), QStringLiteral("Szczecin"), QStringLiteral("ul. Mickiewicza 60"), QStringLiteral("854-323-19-43")},
        {QStringLiteral("Apteka Zieliński"), QStringLiteral("Apteka \"ZIELIŃSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("85-001"), QStringLiteral("Bydgoszcz"), QStringLiteral("ul. Sienkiewicza 68"), QStringLiteral("857-491-18-63")},
        {QStringLiteral("Kwiaciarnia Szymańsk"), QStringLiteral("Kwiaciarnia \"SZYMAŃSKI\""), QStringLiteral("s.c."), QStringLiteral("20-001"), QStringLiteral("Lublin"), QStringLiteral("ul. Piłsudskiego 22"), QStringLiteral("627-601-89-59")},
        {QStringLiteral("Woźniak A."), QStringLiteral("Agnieszka Woźniak"), QStringLiteral(""), QStringLiteral("15-001"), QStringLiteral("Białystok"), QStringLiteral("ul. Ogrodowa 44"), QStringLiteral("697-971-14-79")},
        {QStringLiteral("Transport Dąbrowski"), QStringLiteral("Transport \"DĄBROWSKI\""), QStringLiteral("s.c."), QStringLiteral("40-001"), QStringLiteral("Katowice"), QStringLiteral("ul. Lipowa 90"), QStringLiteral("204-974-65-01")},
        {QStringLiteral("Usługi Kozłowski"), QStringLiteral("Usługi Budowlane \"KOZŁOWSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("81-001"), QStringLiteral("Gdynia"), QStringLiteral("ul. Łąkowa 60"), QStringLiteral("629-170-34-29")},
        {QStringLiteral("Jankowski M."), QStringLiteral("Michał Jankowski"), QStringLiteral(""), QStringLiteral("42-200"), QStringLiteral("Częstochowa"), QStringLiteral("ul. Kwiatowa 95"), QStringLiteral("466-712-76-86")},
        {QStringLiteral("Restauracja Mazur"), QStringLiteral("Restauracja \"MAZUR\""), QStringLiteral("Spółka z o.o."), QStringLiteral("26-600"), QStringLiteral("Radom"), QStringLiteral("ul. Szkolna 36"), QStringLiteral("368-465-63-23")},
        {QStringLiteral("Pracownia Kwiatkowsk"), QStringLiteral("Pracownia Krawiecka \"KWIATKOWSKI\""), QStringLiteral("s.c."), QStringLiteral("87-100"), QStringLiteral("Toruń"), QStringLiteral("ul. Kolejowa 11"), QStringLiteral("323-307-92-43")},
        {QStringLiteral("Krawczyk E."), QStringLiteral("Elżbieta Krawczyk"), QStringLiteral(""), QStringLiteral("25-001"), QStringLiteral("Kielce"), QStringLiteral("ul. Żeromskiego 37"), QStringLiteral("126-859-95-25")},
        {QStringLiteral("Szkoła Piotrowski"), QStringLiteral("Szkoła Językowa \"PIOTROWSKI\""), QStringLiteral("s.c."), QStringLiteral("35-001"), QStringLiteral("Rzeszów"), QStringLiteral("ul. Wojska Polskiego 89"), QStringLiteral("990-786-66-65")},
        {QStringLiteral("Studio Grabowski"), QStringLiteral("Studio Fotograficzne \"GRABOWSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("10-001"), QStringLiteral("Olsztyn"), QStringLiteral("ul. Grunwaldzka 14"), QStringLiteral("690-109-28-18")},
        {QStringLiteral("Nowakowski Ł."), QStringLiteral("Łukasz Nowakowski"), QStringLiteral(""), QStringLiteral("45-001"), QStringLiteral("Opole"), QStringLiteral("ul. Świętojańska 47"), QStringLiteral("113-962-45-92")},
        {QStringLiteral("Kancelaria Pawłowski"), QStringLiteral("Kancelaria Prawna \"PAWŁOWSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("65-001"), QStringLiteral("Zielona Góra"), QStringLiteral("ul. Kopernika 47"), QStringLiteral("811-777-74-12")},
        {QStringLiteral("Piekarnia Michalski"), QStringLiteral("Piekarnia \"MICHALSKI\""), QStringLiteral("s.c."), QStringLiteral("33-100"), QStringLiteral("Tarnów"), QStringLiteral("ul. Długa 19"), QStringLiteral("254-728-03-84")},
        {QStringLiteral("Nowicki A."), QStringLiteral("Anna Nowicki"), QStringLiteral(""), QStringLiteral("43-300"), QStringLiteral("Bielsko-Biała"), QStringLiteral("ul. Krótka 47"), QStringLiteral("380-841-48-56")},
        {QStringLiteral("Zakład Adamczyk"), QStringLiteral("Zakład Stolarski \"ADAMCZYK\""), QStringLiteral("s.c."), QStringLiteral("38-400"), QStringLiteral("Krosno"), QStringLiteral("ul. Polna 117"), QStringLiteral("353-888-53-90")},
        {QStringLiteral("Biuro Dudek"), QStringLiteral("Biuro Rachunkowe \"DUDEK\""), QStringLiteral("Spółka z o.o."), QStringLiteral("62-800"), QStringLiteral("Kalisz"), QStringLiteral("ul. Leśna 104"), QStringLiteral("436-338-75-06")},
        {QStringLiteral("Zając K."), QStringLiteral("Krzysztof Zając"), QStringLiteral(""), QStringLiteral("09-400"), QStringLiteral("Płock"), QStringLiteral("ul. Słoneczna 4"), QStringLiteral("574-395-75-54")},
        {QStringLiteral("Warsztat Wieczorek"), QStringLiteral("Warsztat Samochodowy \"WIECZOREK\""), QStringLiteral("Spółka z o.o."), QStringLiteral("00-950"), QStringLiteral("Warszawa"), QStringLiteral("ul. Kościuszki 11"), QStringLiteral("413-735-37-94")},
        {QStringLiteral("Drukarnia Jabłoński"), QStringLiteral("Drukarnia \"JABŁOŃSKI\""), QStringLiteral("s.c."), QStringLiteral("30-001"), QStringLiteral("Kraków"), QStringLiteral("ul. Mickiewicza 116"), QStringLiteral("175-116-37-20")},
        {QStringLiteral("Król M."), QStringLiteral("Małgorzata Król"), QStringLiteral(""), QStringLiteral("90-001"), QStringLiteral("Łódź"), QStringLiteral("ul. Sienkiewicza 56"), QStringLiteral("616-761-22-21")},
        {QStringLiteral("Kwiaciarnia Majewski"), QStringLiteral("Kwiaciarnia \"MAJEWSKI\""), QStringLiteral("s.c."), QStringLiteral("50-001"), QStringLiteral("Wrocław"), QStringLiteral("ul. Piłsudskiego 4"), QStringLiteral("397-299-75-25")},
        {QStringLiteral("Przychodnia Olszewsk"), QStringLiteral("Przychodnia \"OLSZEWSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("60-001"), QStringLiteral("Poznań"), QStringLiteral("ul. Ogrodowa 71"), QStringLiteral("920-018-26-31")},
        {QStringLiteral("Jaworski P."), QStringLiteral("Paweł Jaworski"), QStringLiteral(""), QStringLiteral("80-001"), QStringLiteral("Gdańsk"), QStringLiteral("ul. Lipowa 106"), QStringLiteral("404-348-39-58")},
        {QStringLiteral("Usługi Wróbel"), QStringLiteral("Usługi Budowlane \"WRÓBEL\""), QStringLiteral("Spółka z o.o."), QStringLiteral("70-001"), QStringLiteral("Szczecin"), QStringLiteral("ul. Łąkowa 34"), QStringLiteral("962-057-98-61")},
        {QStringLiteral("Hotel Malinowski"), QStringLiteral("Hotel \"MALINOWSKI\""), QStringLiteral("s.c."), QStringLiteral("85-001"), QStringLiteral("Bydgoszcz"), QStringLiteral("ul. Kwiatowa 106"), QStringLiteral("928-288-07-25")},
        {QStringLiteral("Pawlak E."), QStringLiteral("Ewa Pawlak"), QStringLiteral(""), QStringLiteral("20-001"), QStringLiteral("Lublin"), QStringLiteral("ul. Szkolna 78"), QStringLiteral("122-279-18-01")},
        {QStringLiteral("Pracownia Witkowski"), QStringLiteral("Pracownia Krawiecka \"WITKOWSKI\""), QStringLiteral("s.c."), QStringLiteral("15-001"), QStringLiteral("Białystok"), QStringLiteral("ul. Kolejowa 42"), QStringLiteral("988-718-03-37")},
        {QStringLiteral("Serwis Walczak"), QStringLiteral("Serwis Komputerowy \"WALCZAK\""), QStringLiteral("Spółka z o.o."), QStringLiteral("40-001"), QStringLiteral("Katowice"), QStringLiteral("ul. Żeromskiego 36"), QStringLiteral("118-780-17-50")},
        {QStringLiteral("Stępień G."), QStringLiteral("Grzegorz Stępień"), QStringLiteral(""), QStringLiteral("81-001"), QStringLiteral("Gdynia"), QStringLiteral("ul. Wojska Polskiego 79"), QStringLiteral("998-347-88-78")},
        {QStringLiteral("Studio Górski"), QStringLiteral("Studio Fotograficzne \"GÓRSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("42-200"), QStringLiteral("Częstochowa"), QStringLiteral("ul. Grunwaldzka 65"), QStringLiteral("484-837-26-10")},
        {QStringLiteral("Księgarnia Rutkowski"), QStringLiteral("Księgarnia \"RUTKOWSKI\""), QStringLiteral("s.c."), QStringLiteral("26-600"), QStringLiteral("Radom"), QStringLiteral("ul. Świętojańska 51"), QStringLiteral("851-361-34-10")},
        {QStringLiteral("Michalak J."), QStringLiteral("Joanna Michalak"), QStringLiteral(""), QStringLiteral("87-100"), QStringLiteral("Toruń"), QStringLiteral("ul. Kopernika 115"), QStringLiteral("352-427-31-68")},
        {QStringLiteral("Piekarnia Sikora"), QStringLiteral("Piekarnia \"SIKORA\""), QStringLiteral("s.c."), QStringLiteral("25-001"), QStringLiteral("Kielce"), QStringLiteral("ul. Długa 114"), QStringLiteral("823-268-65-64")},
        {QStringLiteral("Hurtownia Ostrowski"), QStringLiteral("Hurtownia \"OSTROWSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("35-001"), QStringLiteral("Rzeszów"), QStringLiteral("ul. Krótka 26"), QStringLiteral("651-505-87-79")},
        {QStringLiteral("Baran P."), QStringLiteral("Piotr Baran"), QStringLiteral(""), QStringLiteral("10-001"), QStringLiteral("Olsztyn"), QStringLiteral("ul. Polna 91"), QStringLiteral("165-894-81-17")},
        {QStringLiteral("Biuro Duda"), QStringLiteral("Biuro Rachunkowe \"DUDA\""), QStringLiteral("Spółka z o.o."), QStringLiteral("45-001"), QStringLiteral("Opole"), QStringLiteral("ul. Leśna 118"), QStringLiteral("411-440-24-25")},
        {QStringLiteral("Sklep Szewczyk"), QStringLiteral("Sklep Spożywczy \"SZEWCZYK\""), QStringLiteral("s.c."), QStringLiteral("65-001"), QStringLiteral("Zielona Góra"), QStringLiteral("ul. Słoneczna 105"), QStringLiteral("746-288-97-50")},
        {QStringLiteral("Tomaszewska K."), QStringLiteral("Katarzyna Tomaszewska"), QStringLiteral(""), QStringLiteral("33-100"), QStringLiteral("Tarnów"), QStringLiteral("ul. Kościuszki 12"), QStringLiteral("293-141-70-51")},
        {QStringLiteral("Drukarnia Pietrzak"), QStringLiteral("Drukarnia \"PIETRZAK\""), QStringLiteral("s.c."), QStringLiteral("43-300"), QStringLiteral("Bielsko-Biała"), QStringLiteral("ul. Mickiewicza 71"), QStringLiteral("749-208-31-29")},
        {QStringLiteral("Apteka Marciniak"), QStringLiteral("Apteka \"MARCINIAK\""), QStringLiteral("Spółka z o.o."), QStringLiteral("38-400"), QStringLiteral("Krosno"), QStringLiteral("ul. Sienkiewicza 34"), QStringLiteral("123-448-34-71")},
        {QStringLiteral("Wróblewski T."), QStringLiteral("Tomasz Wróblewski"), QStringLiteral(""), QStringLiteral("62-800"), QStringLiteral("Kalisz"), QStringLiteral("ul. Piłsudskiego 65"), QStringLiteral("345-040-00-89")},
        {QStringLiteral("Przychodnia Zalewski"), QStringLiteral("Przychodnia \"ZALEWSKI\""), QStringLiteral("Spółka z o.o."), QStringLiteral("09-400"), QStringLiteral("Płock"), QStringLiteral("ul. Ogrodowa 71"), QStringLiteral("487-371-67-88")},
    };
}
QList<DemoDescription> DemoDescriptions()
{
    return {
        {QStringLiteral("KP"), QStringLiteral("Wpłata za fakturę"), 0},
        {QStringLiteral("KP"), QStringLiteral("Utarg dzienny"), 0},
        {QStringLiteral("KP"), QStringLiteral("Pobrano z banku"), 0},
        {QStringLiteral("KP"), QStringLiteral("Zwrot zaliczki"), 0},
        {QStringLiteral("KP"), QStringLiteral("Opłata za wynajem sali"), 35000},
        {QStringLiteral("KW"), QStringLiteral("Zakup materiałów biurowych"), 0},
        {QStringLiteral("KW"), QStringLiteral("Wpłata do banku"), 0},
        {QStringLiteral("KW"), QStringLiteral("Opłata pocztowa"), 1250},
        {QStringLiteral("KW"), QStringLiteral("Zakup paliwa"), 0},
        {QStringLiteral("KW"), QStringLiteral("Wypłata wynagrodzenia"), 0},
        {QStringLiteral("KW"), QStringLiteral("Delegacja krajowa - dieta"), 4500},
        {QStringLiteral("KPD"), QStringLiteral("Wpłata za fakturę"), 0},
        {QStringLiteral("KWD"), QStringLiteral("Zapłata za fakturę"), 0},
        {QStringLiteral("WZ"), QStringLiteral("Zaliczka na zakup materiałów"), 50000},
        {QStringLiteral("WZ"), QStringLiteral("Zaliczka na delegację"), 30000},
        {QStringLiteral("RZ"), QStringLiteral("Zakup materiałów"), 0},
        {QStringLiteral("RZ"), QStringLiteral("Bilety PKP"), 0},
        {QStringLiteral("RZ"), QStringLiteral("Nocleg"), 0},
        {QStringLiteral("RZ"), QStringLiteral("Parking"), 1000},
    };
}

QList<DemoAccount> DemoAccounts()
{
    return {
        {QStringLiteral("100"), QStringLiteral("Kasa krajowych środków pieniężnych")},
        {QStringLiteral("101"), QStringLiteral("Kasa walut obcych")},
        {QStringLiteral("130"), QStringLiteral("Rachunek bieżący")},
        {QStringLiteral("201"), QStringLiteral("Rozrachunki z odbiorcami")},
        {QStringLiteral("202"), QStringLiteral("Rozrachunki z dostawcami")},
        {QStringLiteral("234"), QStringLiteral("Pozostałe rozrachunki z pracownikami")},
        {QStringLiteral("401"), QStringLiteral("Zużycie materiałów i energii")},
        {QStringLiteral("402"), QStringLiteral("Usługi obce")},
        {QStringLiteral("404"), QStringLiteral("Wynagrodzenia")},
        {QStringLiteral("409"), QStringLiteral("Pozostałe koszty rodzajowe")},
        {QStringLiteral("700"), QStringLiteral("Sprzedaż towarów")},
        {QStringLiteral("730"), QStringLiteral("Sprzedaż usług")},
    };
}

QStringList DemoOperators()
{
    return {QStringLiteral("Anna Kowalska"), QStringLiteral("Piotr Nowak"), QStringLiteral("Ewa Zielińska")};
}
