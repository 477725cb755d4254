-- The roles of Agenda Mirak and their rights on one season, as `agenda-mirak --server-setup` gives
-- them (it does so for every season of the database and is safe to run again). Run as the server's
-- administrator in the season's database; the season's owner so far also becomes a secretary:
--   grant mirak_sekretar to <owner>;
-- A login gets its role with `agenda-mirak --grant ROLE --login NAME ADDRESS`, or:
--   select mirak.pridel_rolu('<login>', 'mirak_disciplinarna');

do $r$ begin if not exists (select 1 from pg_roles where rolname = 'mirak_sekretar') then create role mirak_sekretar nologin; end if; end $r$;
do $r$ begin if not exists (select 1 from pg_roles where rolname = 'mirak_disciplinarna') then create role mirak_disciplinarna nologin; end if; end $r$;
do $r$ begin if not exists (select 1 from pg_roles where rolname = 'mirak_rozhodcovia') then create role mirak_rozhodcovia nologin; end if; end $r$;
do $r$ begin if not exists (select 1 from pg_roles where rolname = 'mirak_citatel') then create role mirak_citatel nologin; end if; end $r$;
create schema if not exists mirak;
create or replace function mirak.pridel_rolu(prihlasenie text, rola text) returns void language plpgsql security definer set search_path = pg_catalog as $f$ declare r text; begin if not pg_has_role(session_user, 'mirak_sekretar', 'member') then raise exception 'Roly prideľuje len sekretár alebo správca servera.' using errcode = '42501'; end if; if rola not in ('mirak_sekretar', 'mirak_disciplinarna', 'mirak_rozhodcovia', 'mirak_citatel') then raise exception 'Neznáma rola %.', rola; end if; if not exists (select 1 from pg_roles where rolname = prihlasenie) then raise exception 'Prihlásenie % na serveri nie je.', prihlasenie; end if; foreach r in array array['mirak_sekretar', 'mirak_disciplinarna', 'mirak_rozhodcovia', 'mirak_citatel'] loop if r <> rola and pg_has_role(prihlasenie, r, 'member') then execute format('revoke %I from %I', r, prihlasenie); end if; end loop; execute format('grant %I to %I', rola, prihlasenie); end $f$;
revoke all on function mirak.pridel_rolu(text, text) from public;
grant usage on schema mirak to mirak_sekretar, mirak_disciplinarna, mirak_rozhodcovia, mirak_citatel;
grant execute on function mirak.pridel_rolu(text, text) to mirak_sekretar;
alter schema "SEZONA" owner to mirak_sekretar;
alter table "SEZONA"."tsezona" owner to mirak_sekretar;
alter table "SEZONA"."tsutaze" owner to mirak_sekretar;
alter table "SEZONA"."tkluby" owner to mirak_sekretar;
alter table "SEZONA"."thraci" owner to mirak_sekretar;
alter table "SEZONA"."tzapasy" owner to mirak_sekretar;
alter table "SEZONA"."tgoly" owner to mirak_sekretar;
alter table "SEZONA"."tzkarty" owner to mirak_sekretar;
alter table "SEZONA"."tckarty" owner to mirak_sekretar;
alter table "SEZONA"."tbody" owner to mirak_sekretar;
alter table "SEZONA"."trozhodci" owner to mirak_sekretar;
alter table "SEZONA"."tnominacie" owner to mirak_sekretar;
alter table "SEZONA"."theslo" owner to mirak_sekretar;
alter table "SEZONA"."tamnestie" owner to mirak_sekretar;
alter table "SEZONA"."todstupenia" owner to mirak_sekretar;
alter table "SEZONA"."tnastavenia" owner to mirak_sekretar;
alter table "SEZONA"."tkalendar" owner to mirak_sekretar;
alter table "SEZONA"."tprenesenetresty" owner to mirak_sekretar;
alter table "SEZONA"."mirak_meta" owner to mirak_sekretar;
alter table "SEZONA"."mirak_ddl" owner to mirak_sekretar;
alter table "SEZONA"."mirak_citace" owner to mirak_sekretar;
alter table "SEZONA"."mirak_zmeny" owner to mirak_sekretar;
alter function "SEZONA".mirak_zaznamenaj() owner to mirak_sekretar;
alter function "SEZONA".mirak_skore(bigint) owner to mirak_sekretar;
alter function "SEZONA".mirak_bez_cudzich(bigint, text, text, text[], text[], text, text[], jsonb) owner to mirak_sekretar;
alter function "SEZONA".mirak_miesto(bigint, text, bigint) owner to mirak_sekretar;
alter collation "SEZONA"."slovak" owner to mirak_sekretar;
grant usage on schema "SEZONA" to mirak_sekretar, mirak_disciplinarna, mirak_rozhodcovia, mirak_citatel;
grant select on all tables in schema "SEZONA" to mirak_sekretar, mirak_disciplinarna, mirak_rozhodcovia, mirak_citatel;
grant insert, update on "SEZONA"."mirak_citace" to mirak_disciplinarna, mirak_rozhodcovia, mirak_citatel;
grant insert, update, delete on "SEZONA"."tkalendar" to mirak_disciplinarna, mirak_rozhodcovia, mirak_citatel;
grant insert, update, delete on "SEZONA"."tzkarty" to mirak_disciplinarna;
grant insert, update, delete on "SEZONA"."tckarty" to mirak_disciplinarna;
grant insert, update, delete on "SEZONA"."tamnestie" to mirak_disciplinarna;
grant insert, update, delete on "SEZONA"."tprenesenetresty" to mirak_disciplinarna;
grant insert, update, delete on "SEZONA"."trozhodci" to mirak_rozhodcovia;
grant insert, update, delete on "SEZONA"."tnominacie" to mirak_rozhodcovia;
grant insert, update (trest, btrest, body) on "SEZONA"."tbody" to mirak_disciplinarna;
