// Writes tests/calendar/data/lunar_javascript_pillars.tsv: the four pillars
// lunar-javascript (npm, MIT) gives for a sample of births in Beijing time,
// in both of its 子 hour schools (sect 1: 23:00 starts the next day; sect 2:
// 夜子时 keeps the date). lunar-javascript takes its solar terms from its
// own astronomy, so the table is an independent check of the astronomical
// term source and of both schools.
//
//   mkdir -p /tmp/ljs && (cd /tmp/ljs && npm install lunar-javascript)
//   NODE_PATH=/tmp/ljs/node_modules node tools/birth_pillars/lunar_javascript_pillars.mjs \
//     > tests/calendar/data/lunar_javascript_pillars.tsv
//
// Births within two minutes of a sectional term are left out: the two
// term sources may differ there by a few seconds.
import { createRequire } from 'module';
const require = createRequire(import.meta.url);
const { Solar } = require('lunar-javascript');

let seed = 20261208;
function random(n) {  // deterministic, so the file regenerates identically
  seed = (seed * 1103515245 + 12345) % 2147483648;
  return seed % n;
}

const births = [];
function add(solar) {
  births.push([solar.getYear(), solar.getMonth(), solar.getDay(), solar.getHour(), solar.getMinute()]);
}

// Ordinary births across the whole range.
for (let i = 0; i < 160; i++) {
  add(Solar.fromYmdHms(1901 + random(149), 1 + random(12), 1 + random(28), random(24), random(60), 0));
}
// The late 子 hour and just after midnight.
for (let i = 0; i < 60; i++) {
  add(Solar.fromYmdHms(1901 + random(149), 1 + random(12), 1 + random(28), i % 2 ? 23 : 0, random(60), 0));
}
// Near the sectional terms (立春 especially), 3 to 40 minutes either side.
for (let i = 0; i < 120; i++) {
  const year = 1901 + random(148);
  const table = Solar.fromYmd(year, 6, 1).getLunar().getJieQiTable();
  const names = ['立春', '惊蛰', '清明', '立夏', '芒种', '小暑', '立秋', '白露', '寒露', '立冬', '大雪'];
  const name = i % 3 === 0 ? '立春' : names[random(names.length)];
  const term = table[name];
  const minutes = (3 + random(38)) * (random(2) ? 1 : -1);
  add(term.nextMinute ? term.nextMinute(minutes) : Solar.fromJulianDay(term.getJulianDay() + minutes / 1440));
}

const seen = new Set();
console.log('# tools/birth_pillars/lunar_javascript_pillars.mjs, lunar-javascript ' +
            require('lunar-javascript/package.json').version);
console.log('year\tmonth\tday\thour\tminute\tsect\tyear_pillar\tmonth_pillar\tday_pillar\thour_pillar');
for (const [y, m, d, h, mi] of births) {
  const key = `${y}-${m}-${d}-${h}-${mi}`;
  if (seen.has(key) || y < 1901 || y > 2049) continue;
  seen.add(key);
  const solar = Solar.fromYmdHms(y, m, d, h, mi, 0);
  const lunar = solar.getLunar();
  // Skip births within two minutes of a sectional term.
  const near = Object.entries(lunar.getJieQiTable()).some(([name, t]) =>
      Math.abs(t.getJulianDay() - solar.getJulianDay()) * 1440 < 2);
  if (near) continue;
  for (const sect of [1, 2]) {
    const e = lunar.getEightChar();
    e.setSect(sect);
    console.log([y, m, d, h, mi, sect, e.getYear(), e.getMonth(), e.getDay(), e.getTime()].join('\t'));
  }
}
