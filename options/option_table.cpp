#include "options/option_table.h"

#include <stdexcept>
#include <unordered_map>

#include "options/text_encoding.h"

namespace kwetro {
namespace {

// Caption shapes. Texts are UTF-8 here and stored as Windows-1251.

OptionDef Make(const char* name, const std::string& unchecked, const std::string& checked,
               const std::string& grayed) {
  OptionDef def;
  def.name = name;
  def.captions = {Utf8ToCp1251(unchecked), Utf8ToCp1251(checked), Utf8ToCp1251(grayed)};
  return def;
}

// Title followed by the state's suffix. A few captions carry one blank after
// the closing parenthesis, and one option misspells the skip suffix; both
// are part of what administrators have in their existing scripts.
OptionDef Standard(const char* name, const std::string& title, const char* tail = "",
                   const char* grayedSuffix = " - (Пропустить)") {
  return Make(name, title + " - (Нет)" + tail, title + " - (Да)" + tail,
              title + grayedSuffix + tail);
}

OptionDef OwnThree(const char* name, const char* checked, const char* unchecked,
                   const char* grayed) {
  return Make(name, unchecked, checked, grayed);
}

// Captions that only know "checked" or "not checked": grayed reads as unchecked.
OptionDef TwoWay(const char* name, const std::string& checked, const std::string& notChecked) {
  return Make(name, notChecked, checked, notChecked);
}

std::string Quoted(const char* item) { return std::string("\"") + item + "\""; }

// A Start-menu item: shown as a link, not shown, or shown as a menu.
OptionDef StartItem(const char* name, const char* item) {
  return Make(name, Quoted(item) + " - не отображать", Quoted(item) + " - отображать как ссылку",
              Quoted(item) + " - отображать как меню");
}

OptionDef StartItemTwoWay(const char* name, const char* item) {
  return TwoWay(name, Quoted(item) + " - отображать", Quoted(item) + " - не отображать");
}

std::vector<OptionDef> BuildTable() {
  std::vector<OptionDef> t;
  auto add = [&t](OptionDef def) { t.push_back(std::move(def)); };

  // System pages.
  add(OwnThree("sCheckBox_1_1", "Включить схему питания - (Домашний/Настольный)",
               "Включить схему питания - (Включен постоянно)",
               "Включить схему питания - (Портативный)"));
  add(Standard("sCheckBox_1_2", "Запрашивать пароль после выхода из \"Ждущего режима\""));
  add(Standard("sCheckBox_1_3", "Запускать 16-битные программы в отдельных процессах"));
  add(OwnThree("sCheckBox_1_4",
               "Использовать для переключения раскладки клавиатуры - (Ctrl+Shift)",
               "Использовать для переключения раскладки клавиатуры - (Alt+Shift)",
               "Использовать для переключения раскладки клавиатуры - (Отключить)"));
  {
    OptionDef def = OwnThree("sCheckBox_1_5", "Ограничение анонимного доступа - (Полный)",
                             "Ограничение анонимного доступа - (Доступ к файлам)",
                             "Ограничение анонимного доступа - (Нет)");
    def.hints = {
        Utf8ToCp1251("| Запрещает просматривать удаленно учетные записи и расшаренные ресурсы."),
        Utf8ToCp1251("| Запрет на любой неявный доступ к системе."),
        Utf8ToCp1251("| Стандартный доступ - разрешенные задания по умолчанию.")};
    add(def);
  }
  add(Standard("sCheckBox_1_6", "Отключить встроенный отладчик Dr. Watson"));
  add(Standard("sCheckBox_1_7", "Отключить проверку недостатка места на диске"));
  add(Standard("sCheckBox_1_8", "Очистка файла подкачки перед перезагрузкой системы"));
  add(Standard("sCheckBox_1_9", "Отключить восстановление системы"));
  add(Standard("sCheckBox_1_10", "Папка %WinDir%\\Temp  - для всех пользователей"));
  add(Standard("sCheckBox_1_11", "Подстановка шрифтов для правильного отображения кириллицы"));
  for (auto& def : t) def.stopsCountdown = true;  // exactly the eleven options above

  add(Standard("sCheckBox_2_1", "Быстрое переключение пользователей"));
  add(Standard("sCheckBox_2_2", "Включить NumLock при загрузке"));
  add(Standard("sCheckBox_2_3", "Использовать страницу приветствия"));
  add(Standard("sCheckBox_2_4", "Отключить счетчик непрочитанных сообщений в экране приветствия"));
  add(Standard("sCheckBox_2_5", "Отключить приглашение \"Знакомство с Windows\""));
  add(Standard("sCheckBox_2_6", "Отключить уведомления \"Центра обеспечения безопасности\""));
  add(Standard("sCheckBox_2_7", "Показывать имя последнего пользователя"));
  add(Standard("sCheckBox_2_8", "Показывать информацию о выполняемых процессах во время загрузки"));
  add(Standard("sCheckBox_2_9", "Отключить обработку Autoexec.bat"));
  add(Standard("sCheckBox_2_10", "Отключить слежение Windows XP за пользователями"));
  add(Standard("sCheckBox_2_11",
               "Отключить экранную заставку при входе в систему для всех пользователей"));
  add(Standard("sCheckBox_3_1", "Оптимизировать работу системного кэша"));
  add(Standard("sCheckBox_3_2", "Оптимизировать системные файлы во время загрузки"));
  add(Standard("sCheckBox_3_3", "Отключить общие административные ресурсы"));
  add(Standard("sCheckBox_3_4", "Отключить файл подкачки для хранения ядра системы"));
  add(Standard("sCheckBox_3_5", "Отключить генерацию имен файлов в формате 8.3 (только для NTFS)"));
  add(Standard("sCheckBox_3_6", "Отключить запись последнего доступа к файлам (только для NTFS)"));
  add(Standard("sCheckBox_3_7", "Отключить простой общий доступ к файлам"));
  add(Standard("sCheckBox_3_7b",
               "Отключить поиск в сети Интернет при открытии файла с неизвестными расширением"));
  add(Standard("sCheckBox_3_8", "Увеличить место для главной файловой таблицы (только для NTFS)"));
  add(Standard("sCheckBox_3_9", "Уменьшить фрагментируемость файлов"));
  add(Standard("sCheckBox_3_10", "Ускорение доступа к AVI-файлам"));
  add(Standard("sCheckBox_4_1", "Автоматически перезагрузить компьютер при отказе"));
  add(Standard("sCheckBox_4_2", "Записать событие в системный журнал"));
  add(Standard("sCheckBox_4_3", "Записать отладочную информацию (малый дамп ядра 64 Кб)"));
  add(Standard("sCheckBox_4_4", "Отправить административное оповещение"));
  add(Standard("sCheckBox_4_5", "Принудительный вызов \"Синего экрана смерти\""));
  add(Standard("sCheckBox_4_6", "Автоматическое завершение зависших приложений"));
  add(Standard("sCheckBox_4_7", "Отсылать в Microsoft отчеты об ошибках"));
  add(Standard("sCheckBox_5_1", "Запретить MRT отправлять отчеты в Microsoft"));
  add(Standard("sCheckBox_5_2", "Запретить искать драйвера на Windows Update", " "));
  add(Standard("sCheckBox_5_3", "Отключить счетчик ввода-вывода"));
  add(Standard("sCheckBox_5_4", "Отключить не используемую подсистемы POSIX"));
  add(Standard("sCheckBox_5_5", "Ускорить работу оптического привода"));
  add(Standard("sCheckBox_5_6", "Ускорить работу с сетевыми дисками"));
  add(Standard("sCheckBox_5_7", "Увеличить приоритет CMOS памяти и часов реального времени"));
  add(Standard("sCheckBox_5_8", "Отключить удаленный рабочий стол"));
  add(Standard("sCheckBox_5_9", "Отключить экранную заставку"));
  add(Standard("sCheckBox_6_1", "Автоматически выгружать неиспользуемые DLL"));
  add(Standard("sCheckBox_6_2", "Быстрое редактирование в командной строке"));
  add(Standard("sCheckBox_6_4", "Включить дополнительные вкладки в свойствах видеокарт от NVidia"));
  add(Standard("sCheckBox_6_5", "Добавление необходимих команд в меню \"Выполнить\""));
  add(OwnThree("sCheckBox_6_6", "Корзина использует максимум - (50% от доступного на диске)",
               "Корзина использует минимум - (3% от доступного на диске)",
               "Стандартный объем корзины - (10% от доступного на диске)"));
  add(Standard("sCheckBox_6_7", "Отображать скрытые устройства"));
  add(Standard("sCheckBox_6_8", "Поддержка русской кодировки (кодовую страницу 1251 вместо ...1255)"));
  add(Standard("sCheckBox_6_9", "Убрать залипание клавиш"));
  add(Standard("sCheckBox_6_10", "Кнопка \"Спящий режим\" в диалог выхода"));
  add(Standard("sCheckBox_6_11", "Установить зеленый текст в консоли"));
  add(Standard("sCheckBox_6_12", "Установить перенос слов в блокноте"));
  add(Standard("sCheckBox_6_13", "Убрать анимированного помощника по поиску"));
  add(Standard("sCheckBox_6_14", "Отключить защиту системных файлов (SFC)"));

  // Explorer pages.
  add(Standard("pCheckBox_1_1", "Автоматически перезапускать \"Проводник\" при ошибках"));
  add(Standard("pCheckBox_1_2", "Автоматическое восстановление окон, папок при загрузке"));
  add(Standard("pCheckBox_1_3", "Включить \"Панель быстрого запуска\""));
  add(Standard("pCheckBox_1_4", "Запретить кэширование изображений (thumbnails)"));
  add(Standard("pCheckBox_1_5", "Запускать окна \"Проводника\" в отдельном процессе"));
  add(Standard("pCheckBox_1_6", "Корректное открытие CHM-файлов с сетевых дисков"));
  add(Standard("pCheckBox_1_7", "Отключить \"Ярлык для...\" при создании ярлыков"));
  add(Standard("pCheckBox_1_8", "Отключить \"Мастер очистки рабочего стола\""));
  add(Standard("pCheckBox_1_9", "Отключить автозапись состояния окон \"Проводника\""));
  add(Standard("pCheckBox_1_10", "Удалить стрелки у ярлыков"));
  add(Standard("pCheckBox_1_11", "Ускорить перерисовку иконок"));
  add(Standard("pCheckBox_2_1",
               "Добавить в контекстное меню пункты \"Копировать\" и \"Переместить\"", " "));
  add(Standard("pCheckBox_2_2", "Добавить в контекстное меню пункт \"Отправить\""));
  add(Standard("pCheckBox_2_3", "Добавить в контекстное меню пункт \"Панель управления\""));
  add(Standard("pCheckBox_2_4", "Добавить в контекстное меню пункт \"Диспетчер устройств\""));
  add(Standard("pCheckBox_2_5", "Добавить \"Общие документы\" в \"Мой компьютер\""));
  add(Standard("pCheckBox_2_6", "Включить группировку сходных кнопок в \"Панели задач\""));
  add(Standard("pCheckBox_2_7", "Включить закрепление \"Панели задач\""));
  add(Standard("pCheckBox_2_8", "Отключить все уведомления (всплывающие подсказки)"));
  add(Standard("pCheckBox_2_9", "Скрывать иконки в трее"));
  add(Standard("pCheckBox_2_10", "Поместить ярлык \"Сканеры и камеры\" на рабочий стол"));
  add(Standard("pCheckBox_2_11", "Сортировать меню \"Пуск\" и \"Избранное\" в алфавитном порядке"));
  add(Standard("pCheckBox_2_12", "Убрать задержки при раскрытии списков меню"));
  add(Standard("pCheckBox_2_13", "Увеличение частоты мерцания курсора"));
  add(Standard("pCheckBox_3_1", "Выделять недавно установленные программы"));
  add(Standard("pCheckBox_3_2", "Имя пользователя в меню \"Пуск\""));
  add(Standard("pCheckBox_3_3", "Использовать прокрутку для меню \"Программы\""));
  add(Standard("pCheckBox_3_4", "Показывать команду \"Найти\""));
  add(Standard("pCheckBox_3_5", "Показывать скрытые файлы и папки"));
  add(Standard("pCheckBox_3_6", "Показывать команду \"Выход\""));
  add(Standard("pCheckBox_3_7", "Показывать команду \"Выполнить\""));
  add(Standard("pCheckBox_3_8", "Показывать пункт меню \"Справка и поддержка\""));
  add(Standard("pCheckBox_3_9", "Показывать пункт меню \"Программы по умолчанию\""));
  add(Standard("pCheckBox_3_10", "Показывать общие ярлыки (All Users)"));
  add(Standard("pCheckBox_3_11", "Разрешить перетаскивание объектов в меню"));
  add(TwoWay("pCheckBox_3_12", "Размер значков в меню - (Большие)",
             "Размер значков в меню - (Маленькие)"));
  add(Standard("pCheckBox_3_13", "Раскрывать меню при наведении и задержки указателя"));
  add(StartItem("pCheckBox_4_1", "Администрирование"));
  add(StartItem("pCheckBox_4_2", "Избранное"));
  add(StartItem("pCheckBox_4_3", "Мой компьютер"));
  add(StartItem("pCheckBox_4_4", "Моя музыка"));
  add(StartItem("pCheckBox_4_5", "Мои рисунки"));
  add(StartItem("pCheckBox_4_6", "Мои документы"));
  add(StartItem("pCheckBox_4_7", "Недавние документы"));
  add(StartItem("pCheckBox_4_8", "Панель управления"));
  add(StartItemTwoWay("pCheckBox_4_9", "Принтеры и факсы"));
  add(StartItemTwoWay("pCheckBox_4_10", "Сетевое окружение"));
  add(StartItem("pCheckBox_4_11", "Сетевые подключения"));
  add(Standard("pCheckBox_4_12", "Отключить использование типичных задач для папок"));
  add(Standard("pCheckBox_4_13", "Отключить эффект для меню и подсказок"));
  add(Standard("pCheckBox_5_1", "Отключение анимации окон при свертывании и развертывании"));
  add(Standard("pCheckBox_5_2", "Отключение гладкого прокручивания списков"));
  add(Standard("pCheckBox_5_3", "Отключение отображения тени под указателем мыши"));
  add(Standard("pCheckBox_5_4", "Отключение отображения содержимого окна при перетаскивании"));
  add(Standard("pCheckBox_5_5", "Отключение отображения теней, отбрасываемых меню"));
  add(Standard("pCheckBox_5_6", "Отключение скольжения при раскрытии списков"));
  add(Standard("pCheckBox_5_7", "Отключить отображение прозрачного прямоугольника при выделении"));
  add(Standard("pCheckBox_5_8", "Отключение отбрасывания теней значками на рабочем столе"));
  add(Standard("pCheckBox_5_9", "Отключение отображения фоновых рисунков для различных типов папок"));
  add(Standard("pCheckBox_5_10", "Отключить эффекты затухания или скольжения при обращении к меню"));
  add(Standard("pCheckBox_5_11", "Отключить затухание меню после вызова команды"));
  add(Standard("pCheckBox_5_12", "Отключение скольжения кнопок панели задач"));
  add(Standard("pCheckBox_5_13", "Отключить использование стилей для окон и кнопок"));
  add(Standard("pCheckBox_5_14", "Отключить эффекты затухания или скольжения при появлении подсказок"));

  // Internet Explorer page.
  add(Standard("iCheckBox_2_1", "Включить строку состояния в папках"));
  add(Standard("iCheckBox_2_2", "Включить автозаполнение форм в IE"));
  add(Standard("iCheckBox_2_3", "Включить запрос на сохранение пароля в IE"));
  add(Standard("iCheckBox_2_4", "Выключить блокировку зоны безопасности локального компьютера в IE"));
  add(Standard("iCheckBox_2_5", "Отключить отладку сценариев (другие) в IE"));
  add(Standard("iCheckBox_2_6", "Отключить отправку отчетов об ошибках IE"));
  add(Standard("iCheckBox_2_7", "Отключение Internet Connection Wizard (при первом запуске IE6)"));
  add(Standard("iCheckBox_2_8", "Отключить сообщение о возможности использования автозаполнения", "",
               " - (Пропутить)"));
  add(Standard("iCheckBox_2_9", "Отключить отладку сценариев в IE"));
  add(Standard("iCheckBox_2_10", "Отключить уведомление о начале просмотра через безопасное соединение"));
  add(Standard("iCheckBox_2_11",
               "Отключить предупреждение \"Информация переданная..., может стать доступной ...\""));
  add(Standard("iCheckBox_2_12", "Предотвратить повторное использование окна Internet Explorer"));
  add(Standard("iCheckBox_2_13", "Увеличить число одновременных закачек в IE до 10 (по умолчанию 2)"));
  add(Standard("iCheckBox_2_14", "Уменьшить кэш IE до 10 MB"));
  add(Standard("iCheckBox_2_15", "Удаление Alexa Spyware"));

  // Media player page.
  add(Standard("mCheckBox_1_1", "Активировать DVD-возможности"));
  add(Standard("mCheckBox_1_2", "Выводить лицензионное соглашение Windows Media Player"));
  add(Standard("mCheckBox_1_3", "Отправлять отчеты о работе Windows Media Player в Microsoft"));
  add(Standard("mCheckBox_1_4", "Использовать Windows Media Player в on-line справочниках"));
  add(Standard("mCheckBox_1_5", "Создавать ярлык Windows Media Player на Рабочем столе"));
  add(Standard("mCheckBox_1_6", "Создавать ярлык Windows Media Player на панели Быстрого запуска"));
  add(Standard("mCheckBox_1_7", "Добавлять автоматически файлы мультимедиа в библиотеку"));
  add(Standard("mCheckBox_1_8", "Отключить идентификацию Windows Media Player на интернет-сайтах"));
  add(Standard("mCheckBox_1_9", "Отключить автоматическое скачивание кодеков Windows Media Player"));
  add(Standard("mCheckBox_1_10", "Отключить обновление Windows Media Player через Интернет"));
  add(Standard("mCheckBox_1_11", "Отключить заставку на время воспроизведения"));
  add(Standard("mCheckBox_1_12", "Первый запуск выполнен"));

  // Services page.
  {
    OptionDef def = Make("srCheckBox_1_1", "Оптимальная", "Из файла настроек",
                         "Стандартная конфигурация");
    def.role = OptionRole::kServicesPreset;
    add(def);
  }
  {
    OptionDef def;
    def.name = "RzCheckBox1";
    def.role = OptionRole::kNoHandler;
    add(def);
  }
  return t;
}

const std::unordered_map<std::string_view, int>& NameIndex() {
  static const std::unordered_map<std::string_view, int> index = [] {
    std::unordered_map<std::string_view, int> m;
    const auto& defs = OptionDefs();
    for (std::size_t i = 0; i < defs.size(); ++i) m.emplace(defs[i].name, static_cast<int>(i));
    return m;
  }();
  return index;
}

}  // namespace

const std::vector<OptionDef>& OptionDefs() {
  static const std::vector<OptionDef> table = BuildTable();
  return table;
}

int FindOption(std::string_view name) {
  const auto& index = NameIndex();
  const auto it = index.find(name);
  return it == index.end() ? -1 : it->second;
}

int OptionIndex(std::string_view name) {
  const int i = FindOption(name);
  if (i < 0) throw std::logic_error("unknown option " + std::string(name));
  return i;
}

}  // namespace kwetro
