// Writes tests/engine/data/lunar_javascript_extras.tsv: for a sample of
// births in Beijing time, in both of lunar-javascript's 子 hour schools
// (sect 1: 23:00 starts the next day; sect 2: 夜子时 keeps the date), the
// four pillars and what lunar-javascript (npm, MIT) derives from them: the
// 纳音 and 旬 of each pillar, 胎元, 胎息, 命宫 and 身宫 with their 纳音.
// The tests feed the pillars to the program's own functions and compare.
//
//   mkdir -p /tmp/ljs && (cd /tmp/ljs && npm install lunar-javascript)
//   NODE_PATH=/tmp/ljs/node_modules node tools/chart_extras/lunar_javascript_extras.mjs \
//     > tests/engine/data/lunar_javascript_extras.tsv
//
// Births within two minutes of a sectional term are left out: the program's
// term sources may differ from lunar-javascript's there by a few seconds.
import { createRequire } from 'module';
const require = createRequire(import.meta.url);
const { Solar } = require('lunar-javascript');

let seed = 20261313;
function random(n) {  // deterministic, so the file regenerates identically
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed % n;
}

const births = [];
function add(y, m, d, h, mi) {
  births.push([y, m, d, h, mi]);
}

// Ordinary births across the whole range.
for (let i = 0; i < 200; i++) {
  add(1901 + random(149), 1 + random(12), 1 + random(28), random(24), random(60));
}
// The late 子 hour and the hours around midnight.
for (let i = 0; i < 50; i++) {
  add(1901 + random(149), 1 + random(12), 1 + random(28), [23, 0, 1][i % 3], random(60));
}
// Every month branch with every hour branch once (命宫 and 身宫 run over
// all 144 pairs): the 15th of each Gregorian month lies inside one month
// pillar, and each two-hour window has its own hour branch.
for (let m = 1; m <= 12; m++) {
  for (let h = 0; h < 24; h += 2) {
    add(1950 + random(60), m, 15, h === 0 ? 23 : h, random(60));
  }
}

const seen = new Set();
console.log('# tools/chart_extras/lunar_javascript_extras.mjs, lunar-javascript ' +
            require('lunar-javascript/package.json').version);
console.log(['year', 'month', 'day', 'hour', 'minute', 'sect',
             'year_pillar', 'month_pillar', 'day_pillar', 'hour_pillar',
             'year_nayin', 'month_nayin', 'day_nayin', 'hour_nayin',
             'year_xun', 'month_xun', 'day_xun', 'hour_xun',
             'tai_yuan', 'tai_xi', 'ming_gong', 'shen_gong',
             'tai_yuan_nayin', 'tai_xi_nayin', 'ming_gong_nayin', 'shen_gong_nayin'].join('\t'));
for (const [y, m, d, h, mi] of births) {
  const key = `${y}-${m}-${d}-${h}-${mi}`;
  if (seen.has(key) || y < 1901 || y > 2049) continue;
  seen.add(key);
  const solar = Solar.fromYmdHms(y, m, d, h, mi, 0);
  const lunar = solar.getLunar();
  const near = Object.entries(lunar.getJieQiTable()).some(([name, t]) =>
      Math.abs(t.getJulianDay() - solar.getJulianDay()) * 1440 < 2);
  if (near) continue;
  for (const sect of [1, 2]) {
    const e = lunar.getEightChar();
    e.setSect(sect);
    console.log([y, m, d, h, mi, sect,
                 e.getYear(), e.getMonth(), e.getDay(), e.getTime(),
                 e.getYearNaYin(), e.getMonthNaYin(), e.getDayNaYin(), e.getTimeNaYin(),
                 e.getYearXun(), e.getMonthXun(), e.getDayXun(), e.getTimeXun(),
                 e.getTaiYuan(), e.getTaiXi(), e.getMingGong(), e.getShenGong(),
                 e.getTaiYuanNaYin(), e.getTaiXiNaYin(), e.getMingGongNaYin(),
                 e.getShenGongNaYin()].join('\t'));
  }
}
